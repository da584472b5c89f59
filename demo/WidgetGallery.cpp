// ZebWidgetGallery: every widget of the GUI framework's dialogs on the Direct3D backend
// with the game's font. The gallery builds its dialog in code (three buttons, OK among
// them; a check box; a list of 30 rows, some wider than the list; a slider of 4 steps; a
// combo box near the bottom of the window, which therefore opens upward; a status field;
// an input line in each of the four modes; a menu bar whose File menu holds a Recent
// sub-menu; buttons that open a Yes/No message box and an input box), stores it with
// SaveAll in the block file "WidgetGallery.kvr", and runs the dialog it loads back from
// that file. Every command the desktop receives is traced, with what it changed; the OK
// button ends the program with command 1. So that a script can find what it must click
// whatever the font measures, the gallery traces the screen centres of the new targets,
// and of each box's buttons when the box first shows.
#include "DemoWindow.h"

#include <KvD3D9.h>
#include <KvFontD3D9.h>
#include <KvLib.h>
#include <Zeb.h>
#include <kvFileStream.h>

#include <WInputLine.h>

#include <cstdio>
#include <string>

namespace {
const char kResourceFile[] = "WidgetGallery.kvr";
const char kResourceName[] = "VexaTessel widget gallery";
const DWORD kDialogBlock = 7;
enum GalleryId : DWORD {
    kOk = 1,
    kApply = 11,
    kReset = 12,
    kSound = 20,
    kList = 30,
    kSlider = 40,
    kCombo = 50,
    kStatus = 60,
    kLine = 70,  // 70 to 73, the line in mode 0 to 3
    kBar = 80,
    kAsk = 90,
    kName = 91,
};
constexpr int kCmdLine = 4400;  // + the line's mode, posted on Enter
constexpr int kCmdOpen = 4300, kCmdOne = 4301, kCmdTwo = 4302, kCmdAbout = 4303;
constexpr int kCmdAsk = 4310, kCmdName = 4311;
const char* const kModeNames[] = {"文本 Text", "中文 IME", "整数 Integer", "小数 Decimal"};

WMenuBar* BuildMenuBar()
{
    auto* bar = new WMenuBar(395, 16, 185, 28, true, kBar);
    auto* file = new WMenu(0, 0, 140, "文件 File", 81);
    auto* recent = new WMenu(0, 0, 120, "最近 Recent", 82);
    recent->AddItem("一 One", nullptr, kCmdOne);
    recent->AddItem("二 Two", nullptr, kCmdTwo);
    file->AddItem("打开 Open", nullptr, kCmdOpen);
    file->AddItem("", nullptr, 0);
    file->AddItem("最近 Recent", recent, 0);
    auto* help = new WMenu(0, 0, 120, "帮助 Help", 83);
    help->AddItem("关于 About", nullptr, kCmdAbout);
    bar->AddBase(file);
    bar->AddBase(help);
    return bar;
}

WDialog* BuildDialog()
{
    auto* dialog = new WDialog(0, 0, 600, 470, "控件 Widget gallery", 100);
    dialog->AddView(new WButton(20, 16, 110, 28, "", "", 0, kOk), 0);
    dialog->AddView(new WButton(145, 16, 110, 28, "应用 Apply", "", 4200, kApply), 0);
    dialog->AddView(new WButton(270, 16, 110, 28, "重置 Reset", "", 4201, kReset), 0);
    dialog->AddView(new WCheckBox(20, 62, 220, 0, "声音 Sound", kSound), 0);
    auto* list = new WListBox(20, 96, 260, 260, 40, kList);
    for (int i = 0; i < 30; ++i) {
        char row[96];
        if (i % 4 == 1)
            std::snprintf(row, sizeof row, "第%d行 Row %d is a good deal wider than the list", i, i);
        else
            std::snprintf(row, sizeof row, "第%d行 Row %d", i, i);
        list->AddString(WSL_APPEND, row);
    }
    dialog->AddView(list, 0);
    dialog->AddView(new WSlider(nullptr, 320, 110, 210, 4, kSlider), 0);
    auto* combo = new WComboBox(320, -40, 220, 24, 6, 10, kCombo);
    for (const char* level : {"简单 Easy", "普通 Normal", "困难 Hard", "极难 Extreme"})
        combo->AddString(WSL_APPEND, level);
    dialog->AddView(combo, PLACE_NO_ACTIVATE);
    dialog->AddView(new WStatusBox(20, -40, 260, 24, "就绪 Ready", kStatus), PLACE_NO_ACTIVATE);
    for (int mode = 0; mode < 4; ++mode) {
        const int y = 150 + 32 * mode;
        dialog->AddView(new WStaticText(320, y + 2, 90, 20, kModeNames[mode], 0, 0),
                        PLACE_NO_ACTIVATE);
        dialog->AddView(new WInputLine(415, y, 165, 32, kCmdLine + mode, DWORD(mode), true,
                                       kLine + DWORD(mode)),
                        PLACE_NO_ACTIVATE);
    }
    dialog->AddView(new WButton(320, 290, 120, 28, "询问 Ask", "", kCmdAsk, kAsk), PLACE_NO_ACTIVATE);
    dialog->AddView(new WButton(460, 290, 120, 28, "名字 Name", "", kCmdName, kName),
                    PLACE_NO_ACTIVATE);
    dialog->AddView(BuildMenuBar(), PLACE_NO_ACTIVATE);
    return dialog;
}

// Writes the dialog into the block file and loads it back from there.
WDialog* StoredAndLoaded(WDialog* built)
{
    {
        kvFileStream out(kResourceFile, "wb", true, kResourceName);
        out.AddBlock(kDialogBlock);
        built->SaveAll(&out);
        out.Flush();
    }
    delete built;
    kvFileStream in(kResourceFile, "rb", true, kResourceName);
    auto* dialog = new WDialog(&in, kDialogBlock);
    Trace("Gallery dialog loaded from %s.", kResourceFile);
    return dialog;
}

void TraceCentre(const char* what, const WView* v)
{
    Trace("Target %s at %d %d.", what, v->GetAbsX() + (v->Left + v->Right) / 2,
          v->GetAbsY() + (v->Top + v->Bottom) / 2);
}

const char* NameOf(WView* view)
{
    static char name[VIEW_TRACE_SIZE];
    if (!view)
        return "nobody";
    view->GetTraceStr(name);
    return name;
}

// Traces each command on arrival, and what the widgets show after it.
class GalleryDesktop : public WDesktop {
public:
    void Attach(WDialog* loaded)
    {
        dialog = loaded;
        list = static_cast<WListBox*>(GetSubView(dialog, kList));
        combo = static_cast<WComboBox*>(GetSubView(dialog, kCombo));
        sound = static_cast<WCheckBox*>(GetSubView(dialog, kSound));
        status = static_cast<WStatusBox*>(GetSubView(dialog, kStatus));
        slider = static_cast<WSlider*>(GetSubView(dialog, kSlider));
        AddView(dialog, PLACE_CENTRE_X | PLACE_CENTRE_Y);
        TraceTargets();
    }

    // Pre: the dialog is attached, so its children have their screen places.
    void TraceTargets()
    {
        auto* bar = static_cast<WMenuBar*>(GetSubView(dialog, kBar));
        const int x = bar->GetAbsX() + bar->Left, y = bar->GetAbsY() + (bar->Top + bar->Bottom) / 2;
        for (int i = 0; i < bar->Count; ++i)
            Trace("Target base%d at %d %d.", i, x + (bar->Bases[i].LeftX + bar->Bases[i].RightX) / 2, y);
        const WMenu* file = bar->Bases[0].Menu;
        Trace("Bar at %d %d, menu rows %d high, File menu %d wide.", x,
              bar->GetAbsY() + bar->Bottom, file->CaptionH + 8, file->Right - file->Left);
        for (int mode = 0; mode < 4; ++mode) {
            char what[8];
            std::snprintf(what, sizeof what, "line%d", mode);
            TraceCentre(what, GetSubView(dialog, kLine + DWORD(mode)));
        }
        TraceCentre("ask", GetSubView(dialog, kAsk));
        TraceCentre("name", GetSubView(dialog, kName));
    }

    // The modal boxes run from here, where the command arrives unconsumed.
    void RunBox(int command)
    {
        if (command == kCmdAsk) {
            Trace("Message box answered %d.", WMessageBox("\x07", "要继续吗？\nKeep playing?", 12));
        } else if (command == kCmdName) {
            char out[33] = "";
            const int answer = WInputBox("名字 Name", "你的名字 Your name:", "Player", 3, 200, 32,
                                         out, INPUT_TEXT_IME, "");
            Trace("Input box answered %d with \"%s\".", answer, out);
        } else if (command == kCmdAbout) {
            WMessageBox("\x05", "连连看 VexaTessel\nZeb widget gallery", 1);
        }
    }

    void HandleEvent(VlxMessage* event) override
    {
        const VlxMessage arrived = *event;
        if (arrived.type == VLX_COMMAND && arrived.x != VLX_CMD_REDRAW) {
            WView* source = GetEventSource(&arrived);
            Trace("Command %d from %s %u, y %d.", arrived.x, NameOf(source),
                  unsigned(source ? source->Id : 0), arrived.y);
        }
        WDesktop::HandleEvent(event);
        if (arrived.type != VLX_COMMAND)
            return;
        char line[128] = "";
        if (arrived.x == VLX_CMD_CHECK_TOGGLED && GetEventSource(&arrived) == sound) {
            std::snprintf(line, sizeof line, "声音 Sound %s", sound->GetCheck() ? "on" : "off");
            Trace("Check box is now %s.", sound->GetCheck() ? "on" : "off");
        } else if (combo->IsMsgFrom(&arrived) && GetEventSource(&arrived) == combo) {
            const char* text = combo->List->RowText(combo->GetIndex());
            std::snprintf(line, sizeof line, "%s", text);
            Trace("Combo text is now %s.", text);
        } else if (arrived.x == VLX_CMD_LIST && GetEventSource(&arrived) == list && arrived.y == 0) {
            std::snprintf(line, sizeof line, "%.100s", list->Strings->strings[list->GetIndex()]);
            Trace("List row %d selected.", list->GetIndex());
        } else if (arrived.x == VLX_CMD_DRAG_END && GetEventSource(&arrived) == slider) {
            std::snprintf(line, sizeof line, "滑块 Slider %d / %d", slider->Value, slider->Steps);
            Trace("Slider value is now %d.", slider->Value);
        } else if (arrived.x >= kCmdLine && arrived.x < kCmdLine + 4) {
            auto* input = static_cast<WInputLine*>(GetSubView(dialog, kLine + DWORD(arrived.x - kCmdLine)));
            Trace("Line %d text \"%s\".", arrived.x - kCmdLine, input->GetText());
            std::snprintf(line, sizeof line, "%.100s", input->GetText());
        } else if (arrived.x == 4200 || arrived.x == 4201 ||
                   (arrived.x >= kCmdOpen && arrived.x <= kCmdAbout)) {
            std::snprintf(line, sizeof line, "命令 Command %d", arrived.x);
        }
        if (line[0])
            status->ChangeText(line);
        if (event->type == VLX_COMMAND && (arrived.x == kCmdAsk || arrived.x == kCmdName ||
                                           arrived.x == kCmdAbout)) {
            ClearEvent(event);
            RunBox(arrived.x);
        }
    }

    void Draw() override
    {
        WDesktop::Draw();
        TraceBoxButtons();
        if (list->FirstShown != firstShown) {
            firstShown = list->FirstShown;
            Trace("List shows row %d first.", firstShown);
        }
        if (combo->Dropped != dropped) {
            dropped = combo->Dropped;
            if (dropped) {
                const int top = combo->List->GetAbsY() + combo->List->Top;
                Trace("Combo list open %s the box, rows %d to %d.",
                      top < combo->GetAbsY() + combo->Top ? "above" : "below", top,
                      combo->List->GetAbsY() + combo->List->Bottom);
            } else {
                Trace("Combo list closed.");
            }
        }
    }

private:
    // The buttons of a box the first frame it is up.
    void TraceBoxButtons()
    {
        WView* box = Active;
        if (!box || box == dialog || box->Type != WTTDialog || box->Handle == tracedBox)
            return;
        tracedBox = box->Handle;
        TraceCentre("box", box);
        for (WView* c = box->Child; c; c = c->Next)
            if (c->Type == WTTButton) {
                char what[16];
                std::snprintf(what, sizeof what, "button%u", unsigned(c->Id));
                TraceCentre(what, c);
            }
    }

    WDialog* dialog = nullptr;
    DWORD tracedBox = 0;
    WListBox* list = nullptr;
    WComboBox* combo = nullptr;
    WCheckBox* sound = nullptr;
    WStatusBox* status = nullptr;
    WSlider* slider = nullptr;
    int firstShown = 0;
    BYTE dropped = 0;
};

class WidgetGallery : public kvApplication {
public:
    void Init() override
    {
        auto* text = new kvCFont(pd3dDevice);
        text->InitFont(16, WTEXT_CENTRE, "", 1, false);
        SetOutText(text);
        InitZeb(1);
        auto* desktop = new GalleryDesktop;
        SetDesktop(desktop);
        MyDesktop->AddView(new WImageBox(0, 0, -1, -1, nullptr, int(0xFF283848), 2),
                           PLACE_NO_ACTIVATE);
        desktop->Attach(StoredAndLoaded(BuildDialog()));
    }
    ~WidgetGallery() override { FreeZeb(); }
};
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    return RunDemoWindow(
        instance, showCommand, "gallery.txt", [] { return new WidgetGallery; }, 0,
        "ZebWidgetGallery", "Zeb widget gallery", 800, 600);
}
