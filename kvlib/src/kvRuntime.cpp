// Runtime start-up and shut-down, and the runtime's own main loop.
#include "kvApplication.h"

#include "kvException.h"
#include "kvInput.h"
#include "kvResource.h"
#include "kvTrace.h"

#include <objbase.h>

#include <cstdlib>
#include <ctime>

namespace {
// Draws a frame from the window procedure while the program is in the background.
void DefaultPaint()
{
    if (kvApp && kvgi) {
        kvlib::FrameScope frame;
        kvApp->MainLoop();
        kvgi->UpdateScreen();
    }
}

int lastQuitCode = 0;

void RunFrameLoop()
{
    MSG msg;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                lastQuitCode = int(msg.wParam);
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else if (bActive) {
            UpdateTimeCounter();
            kvlib::FrameScope frame;
            if (kvii)
                kvii->GetInput();
            if (kvApp)
                kvApp->MainLoop();
            if (kvgi)
                kvgi->UpdateScreen();
        } else {
            // In the background nothing runs but the paints the platform paces; sleeping
            // until a message arrives keeps the processor free.
            WaitMessage();
        }
    }
}
}  // namespace

void InitKV(HINSTANCE instance, kvApplication* app)
{
    std::srand(unsigned(std::time(nullptr)));
    hInst = instance;
    kvApp = app;
    if (FAILED(CoInitialize(nullptr))) {
        CoUninitialize();
        NewException("Failed to initialize COM.", KVEXCEPTION_GENERAL);
    }
    Trace("COM Interface initialized.");
    kvlib::CreateRegistry();
}

void ReleaseKV()
{
    if (kvApp) {
        kvApplication* app = kvApp;
        kvApp = nullptr;
        delete app;
    }
    CoUninitialize();
    Trace("COM uninitialized.");
    kvlib::CloseTraceOutputs();
    kvlib::DestroyRegistry();
}

namespace kvlib {
int LastQuitCode()
{
    return lastQuitCode;
}
}  // namespace kvlib

void kvMain()
{
    lastQuitCode = 0;
    try {
        kvInitObjects();
        AppPaint = DefaultPaint;
        bQuit = true;
        RunFrameLoop();
    } catch (kvException* e) {
        CatchException(e);
        lastQuitCode = -1;
    }
}
