// The demos' start and main loop: the log beside the program, the Direct3D and input
// backends, a fixed-size window with the system pointer, the main loop until the window
// closes, and the runtime's release. A kvException while starting is traced and ends the
// program with -1.
#ifndef VEXA_DEMO_WINDOW_H
#define VEXA_DEMO_WINDOW_H

#include <KvD3D9.h>
#include <KvLib.h>
#include <Zeb.h>
#include <kvDInput.h>
#include <kvFileStream.h>

#include <string>

// makeApp creates the application once the log is open; formatSet picks the back buffer's
// format set of kvD3D.
template <class MakeApp>
int RunDemoWindow(HINSTANCE instance, int showCommand, const char* logName, MakeApp makeApp,
                  DWORD formatSet, const char* className, const char* caption, int width,
                  int height)
{
    GetComspec(nullptr);  // the log and the data sit beside the program
    SetDebugOutput(new kvFileStream(logName, "wt", false, ""), false);
    try {
        kvApplication* app = makeApp();
        new kvD3D(formatSet, 0, false);
        new kvDInput;
        InitKV(instance, app);
        std::string windowClass = className, windowCaption = caption;
        kvCreateWindow(&windowClass[0], &windowCaption[0], showCommand, nullptr, width, height,
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

#endif
