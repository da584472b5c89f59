// ZebMenusDemo: the menus and the two standard boxes on the Direct3D backend in a real
// window. A dialog holds a menu bar (File with a Recent sub-menu, and Help) and two
// buttons: Ask opens a Yes/No message box, Name an input box. Every command the dialog
// receives, and every answer, is traced. So that a script can find what it must click
// whatever the font measures, the demo traces the screen centres of the bar's bases, of
// the buttons and of each box's buttons when it first shows them.
#include <KvD3D9.h>
#include <KvFontD3D9.h>
#include <KvLib.h>
#include <Zeb.h>
#include <kvDInput.h>
#include <kvFileStream.h>

#include <WInputLine.h>

#include <cstdio>

namespace {
constexpr int kCmdOpen = 4200, kCmdOne = 4201, kCmdTwo = 4202, kCmdAbout = 4203;
constexpr int kCmdAsk = 4300, kCmdName = 4301;

void TraceCentre(const char* what, const WView* v)
{
    Trace("Target %s at %d %d.", what, v->GetAbsX() + (v->Left + v->Right) / 2,
          v->GetAbsY() + (v->Top + v->Bottom) / 2);
}

class MenusDialog : public WDialog {
public:
    MenusDialog() : WDialog(0, 0, 500, 300, "菜单与对话框 Menus and boxes", 100)
    {
        bar = new WMenuBar(0, 0, -1, 24, true, 101);
        auto* file = new WMenu(0, 0, 140, "文件 File", 110);
        auto* recent = new WMenu(0, 0, 120, "最近 Recent", 111);
        recent->AddItem("一 One", nullptr, kCmdOne);
        recent->AddItem("二 Two", nullptr, kCmdTwo);
        file->AddItem("打开 Open", nullptr, kCmdOpen);
        file->AddItem("", nullptr, 0);
        file->AddItem("最近 Recent", recent, 0);
        auto* help = new WMenu(0, 0, 120, "帮助 Help", 112);
        help->AddItem("关于 About", nullptr, kCmdAbout);
        bar->AddBase(file);
        bar->AddBase(help);
        AddView(bar, PLACE_NO_ACTIVATE);
        ask = new WButton(20, -50, 100, 26, "询问 Ask", "", kCmdAsk, 102);
        name = new WButton(140, -50, 100, 26, "名字 Name", "", kCmdName, 103);
        AddView(ask, 0);
        AddView(name, 0);
    }

    // Pre: the dialog is attached, so its children have their screen places.
    void TraceTargets()
    {
        const int x = bar->GetAbsX() + bar->Left, y = bar->GetAbsY() + (bar->Top + bar->Bottom) / 2;
        for (int i = 0; i < bar->Count; ++i)
            Trace("Target base%d at %d %d.", i, x + (bar->Bases[i].LeftX + bar->Bases[i].RightX) / 2, y);
        const WMenu* file = bar->Bases[0].Menu;
        Trace("Bar at %d %d, menu rows %d high, File menu %d wide.", x,
              bar->GetAbsY() + bar->Bottom, file->CaptionH + 8, file->Right - file->Left);
        TraceCentre("ask", ask);
        TraceCentre("name", name);
    }

    void HandleEvent(VlxMessage* event) override
    {
        WDialog::HandleEvent(event);
        if (event->type != VLX_COMMAND || event->x < 4096)
            return;
        const int command = event->x;
        ClearEvent(event);
        Trace("Command %d.", command);
        if (command == kCmdAsk) {
            Trace("Message box answered %d.", WMessageBox("\x07", "要继续吗？\nKeep playing?", 12));
        } else if (command == kCmdName) {
            char out[32] = "";
            const int answer = WInputBox("名字 Name", "你的名字 Your name:", "Player", 3, 200, 20,
                                         out, INPUT_TEXT_IME, "");
            Trace("Input box answered %d with \"%s\".", answer, out);
        } else if (command == kCmdAbout) {
            WMessageBox("\x05", "连连看 VexaTessel\nZeb menus and boxes", 1);
        }
    }

private:
    WMenuBar* bar;
    WButton* ask;
    WButton* name;
};

// Traces the buttons of each box the first frame it is up.
class MenusDesktop : public WDesktop {
public:
    explicit MenusDesktop(WView* mainDialog) : main(mainDialog) {}
    void Draw() override
    {
        WDesktop::Draw();
        WView* box = Active;
        if (!box || box == main || box->Type != WTTDialog || box->Handle == traced)
            return;
        traced = box->Handle;
        for (WView* c = box->Child; c; c = c->Next)
            if (c->Type == WTTButton) {
                char what[16];
                snprintf(what, sizeof what, "button%u", unsigned(c->Id));
                TraceCentre(what, c);
            }
    }
    WView* main;
    DWORD traced = 0;
};

class MenusDemo : public kvApplication {
public:
    void Init() override
    {
        auto* text = new kvCFont(pd3dDevice);
        text->InitFont(16, WTEXT_CENTRE, "", 1, false);
        SetOutText(text);
        InitZeb(0);
        auto* dialog = new MenusDialog;
        auto* desktop = new MenusDesktop(dialog);
        SetDesktop(desktop);
        MyDesktop->AddView(new WImageBox(0, 0, -1, -1, nullptr, int(0xFF283848), 1),
                           PLACE_NO_ACTIVATE);
        MyDesktop->AddView(dialog, PLACE_CENTRE_X | PLACE_CENTRE_Y);
        dialog->TraceTargets();
    }
    ~MenusDemo() override { FreeZeb(); }
};
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    GetComspec(nullptr);
    SetDebugOutput(new kvFileStream("debug.txt", "wt", false, ""), false);
    try {
        kvApplication* app = new MenusDemo;
        new kvD3D(0, 0, false);
        new kvDInput;
        InitKV(instance, app);
        char className[] = "ZebMenusDemo";
        char caption[] = "Zeb menus demo";
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
