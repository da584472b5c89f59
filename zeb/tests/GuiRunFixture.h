// Test helper: a real window and runtime around the GUI's run loops. The application
// builds its GUI in Init and calls FreeZeb from its destructor, as a program does; the
// input backend plays a script of pointer states, one per poll; drawing goes to a
// RecordingGraph and a RecordingText.
#ifndef ZEB_TESTS_GUIRUNFIXTURE_H
#define ZEB_TESTS_GUIRUNFIXTURE_H

#include "RecordingGraph.h"
#include "RecordingText.h"
#include "RuntimeFixture.h"

#include <Zeb.h>

#include <cstring>
#include <deque>
#include <functional>

class GuiApp : public kvApplication {
public:
    GuiApp(CallLog* callLog, std::function<void()> build) : log(callLog), onInit(std::move(build))
    {
    }
    void Init() override
    {
        log->push_back("app.Init");
        if (onInit)
            onInit();
    }
    void DestroyObjs() override { log->push_back("app.DestroyObjs"); }
    ~GuiApp() override
    {
        log->push_back("app.delete");
        FreeZeb();
    }

    CallLog* log;
    std::function<void()> onInit;
};

// One pointer state per poll; the last one holds once the script has run out.
struct PointerState {
    int x, y;
    int buttons;  // bit 0 left, bit 1 right, bit 2 middle
};

class ScriptedInput : public kvInputInterface {
public:
    ScriptedInput() { InstallSelf(); }
    void Init() override {}
    void GetMouseInput() override
    {
        if (!script.empty()) {
            current = script.front();
            script.pop_front();
        }
        bMouseMoved = current.x != MouseX || current.y != MouseY;
        MouseX = current.x;
        MouseY = current.y;
        for (int i = 0; i < 3; ++i)
            MyMouse.rgbButtons[i] = (current.buttons >> i & 1) ? 0x80 : 0;
        ++polls;
        if (onPoll)
            onPoll(polls);
    }
    void GetKbdInput() override {}

    std::deque<PointerState> script;
    PointerState current{0, 0, 0};
    int polls = 0;
    std::function<void(int)> onPoll;
};

// A view that hands every event to a test's function after its own routing.
class ScriptView : public WView {
public:
    ScriptView(int x, int y, int w, int h, DWORD id, std::function<void(ScriptView*, VlxMessage*)> f)
        : WView(x, y, w, h, "", "", id), onEvent(std::move(f))
    {
    }
    void HandleEvent(VlxMessage* event) override
    {
        WView::HandleEvent(event);
        if (onEvent)
            onEvent(this, event);
    }
    void Draw() override
    {
        ++draws;
        WView::Draw();
    }

    std::function<void(ScriptView*, VlxMessage*)> onEvent;
    int draws = 0;
};

class GuiRunTest : public RuntimeTest {
protected:
    void TearDown() override
    {
        RuntimeTest::TearDown();
        FreeZeb();
        pbg = nullptr;
        std::memset(&MyMouse, 0, sizeof MyMouse);
        MouseX = MouseY = 0;
        bShowFPS = false;
    }

    // Creates the 800 x 600 window, the runtime objects and the application whose Init
    // installs the writer, the framework, a desktop and then calls build.
    void Start(std::function<void()> build, DWORD windowFlags = KVWIN_WINDOWED | KVWIN_FIXEDSIZE)
    {
        input = new ScriptedInput;
        new RecordingGraphics(&log);
        app = new GuiApp(&log, [this, build] {
            SetOutText(new RecordingText(&draw));
            InitZeb(0);
            SetDesktop(new WDesktop);
            pbg = &graph;
            if (build)
                build();
        });
        kvApp = app;
        kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, 800, 600, int(windowFlags));
    }

    // Queues a command record carrying only its code, as a widget posts one.
    static void QueueCommand(int code)
    {
        VlxMessage e = {};
        AddCommand(&e, code);
    }

    static inline char kClass[] = "VexaTesselGui";
    static inline char kCaption[] = "GUI test";
    DrawLog draw;
    RecordingGraph graph{&draw};
    ScriptedInput* input = nullptr;
    GuiApp* app = nullptr;
};

#endif
