// Test helper: recording application, graphics and input objects, and a fixture that puts
// the runtime's globals back to their load-time values around every test. The recorders
// write to a log the test owns, since the runtime deletes the objects themselves.
#ifndef KVLIB_TESTS_RUNTIMEFIXTURE_H
#define KVLIB_TESTS_RUNTIMEFIXTURE_H

#include <KvLib.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using CallLog = std::vector<std::string>;

class RecordingApp : public kvApplication {
public:
    explicit RecordingApp(CallLog* callLog) : log(callLog) {}
    void Init() override { log->push_back("app.Init"); }
    void LoadObjs() override { log->push_back("app.LoadObjs"); }
    void DestroyObjs() override { log->push_back("app.DestroyObjs"); }
    void MainLoop() override
    {
        ++frames;
        if (onFrame)
            onFrame(frames);
    }
    ~RecordingApp() override { log->push_back("app.delete"); }

    CallLog* log;
    int frames = 0;
    std::function<void(int)> onFrame;
};

class RecordingGraphics : public kvGraphInterface {
public:
    explicit RecordingGraphics(CallLog* callLog) : log(callLog) { InstallSelf(); }
    bool TestLost() override
    {
        log->push_back("gi.TestLost");
        return lost;
    }
    void Init() override { log->push_back("gi.Init"); }
    void Resize(DWORD w, DWORD h) override
    {
        log->push_back("gi.Resize " + std::to_string(w) + "x" + std::to_string(h));
    }
    void ResetForSizing(bool) override { log->push_back("gi.ResetForSizing"); }
    void RestoreGraph() override { log->push_back("gi.RestoreGraph"); }
    void UpdateScreen() override { ++presents; }
    void SetView(void*) override {}
    ~RecordingGraphics() override { log->push_back("gi.delete"); }

    CallLog* log;
    bool lost = false;
    int presents = 0;
};

class RecordingInput : public kvInputInterface {
public:
    explicit RecordingInput(CallLog* callLog) : log(callLog) { InstallSelf(); }
    void Init() override { log->push_back("ii.Init"); }
    void GetMouseInput() override {}
    void GetKbdInput() override {}
    ~RecordingInput() override { log->push_back("ii.delete"); }

    CallLog* log;
};

// Resets every runtime global a test may touch, before and after it, and destroys the
// window a test created.
class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override
    {
        kvReleaseObjects();
        if (hWnd && IsWindow(hWnd))
            DestroyWindow(hWnd);
        Reset();
    }

    static void Reset()
    {
        delete kvimei;
        kvimei = nullptr;
        kvApp = nullptr;
        kvgi = nullptr;
        kvii = nullptr;
        hWnd = nullptr;
        bQuit = bActive = bZebHandle = bExit = false;
        bWindowed = true;
        bSkinnedApp = bSysMouse = bNoRealTime = false;
        bMouseVis = true;
        ScreenX = 640;
        ScreenY = 480;
        rcWindowClient = RECT{0, 0, 0, 0};
        AppPaint = nullptr;
        DrainQueues();
    }

    // Empties the runtime's event queue and the thread's message queue.
    static void DrainQueues()
    {
        // The bytes first: while any wait, every LoadEvent queues a redraw.
        ClearAsciiBuf();
        VlxMessage e;
        while (LoadEvent(&e)) {
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    // Dispatches every waiting message (paints included, until they stop coming).
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quitSeen = true;
                quitCode = int(msg.wParam);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    // The runtime events now queued, oldest first, leaving the queue empty.
    static std::vector<VlxMessage> TakeEvents()
    {
        std::vector<VlxMessage> events;
        VlxMessage e;
        while (GetEventCount() > 0 && LoadEvent(&e))
            events.push_back(e);
        return events;
    }

    static inline bool quitSeen = false;
    static inline int quitCode = 0;
    CallLog log;
};

#endif
