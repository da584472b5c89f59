// ZebWidgetGallery: every widget of the GUI framework's dialogs on the Direct3D backend
// with the game's font. The gallery builds its dialog in code (three buttons, OK among
// them; a check box; a list of 30 rows, some wider than the list; a slider of 4 steps; a
// combo box near the bottom of the window, which therefore opens upward; a status field),
// stores it with SaveAll in the block file "WidgetGallery.kvr", and runs the dialog it
// loads back from that file. Every command the desktop receives is traced, with what it
// changed; the OK button ends the program with command 1.
#include <KvD3D9.h>
#include <KvFontD3D9.h>
#include <KvLib.h>
#include <Zeb.h>
#include <kvDInput.h>
#include <kvFileStream.h>

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
};

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
        } else if (arrived.x == 4200 || arrived.x == 4201) {
            std::snprintf(line, sizeof line, "命令 Command %d", arrived.x);
        }
        if (line[0])
            status->ChangeText(line);
    }

    void Draw() override
    {
        WDesktop::Draw();
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
    WDialog* dialog = nullptr;
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
    GetComspec(nullptr);
    SetDebugOutput(new kvFileStream("gallery.txt", "wt", false, ""), false);
    try {
        kvApplication* app = new WidgetGallery;
        new kvD3D(0, 0, false);
        new kvDInput;
        InitKV(instance, app);
        char className[] = "ZebWidgetGallery";
        char caption[] = "Zeb widget gallery";
        kvCreateWindow(className, caption, showCommand, nullptr, 800, 600,
                       KVWIN_WINDOWED | KVWIN_FIXEDSIZE | KVWIN_SYSMOUSE | KVWIN_REALTIME);
    } catch (kvException* e) {
        CatchException(e);
        ReleaseKV();
        return -1;
    }
    RunMain();
    kvDestroyWindow();
    ReleaseKV();
    return 0;
}
