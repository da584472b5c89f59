// The game's entry: the engine objects, the window of the edition, the GUI's run loop,
// and the exit code (-1 when an engine exception ended the program).
#include "DebugLog.h"
#include "GameApp.h"

#include <KvD3D9.h>
#include <KvLib.h>
#include <Zeb.h>
#include <kvDInput.h>

#include <stdlib.h>
#include <time.h>

namespace {
char WINDOW_CLASS[] = "VexaTessel";
char PRODUCT_TITLE[] = "VexaTessel";
const int ICON_ID = 7;

// The exit code a quit message left in the queue: the first that is not 0, else 0.
int PendingQuitCode()
{
    int code = 0;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        if (code == 0)
            code = int(msg.wParam);
    return code;
}
}  // namespace

int RunGame(HINSTANCE instance, int showCommand, const GameEdition& edition)
{
    // The frame clock starts with the program, so the log can tell how long start-up took.
    UpdateTimeCounter();
    srand(unsigned(time(nullptr)));
    // The log lies beside the program, wherever it was started from, or in the player's
    // state folder when the program's folder is read-only.
    GetComspec(nullptr);
    OpenDebugLog();
    try {
        GameApp = new myApplication(edition);
        new kvD3D(0, 0, false);
        new kvDInput;
        InitKV(instance, GameApp);
        kvCreateWindow(WINDOW_CLASS, PRODUCT_TITLE, showCommand,
                       LoadIcon(instance, MAKEINTRESOURCE(ICON_ID)), edition.width,
                       edition.height, edition.windowFlags);
    } catch (kvException* e) {
        CatchException(e);
        ReleaseKV();
        return -1;
    }
    RunMain();
    const int code = PendingQuitCode();
    kvDestroyWindow();
    ReleaseKV();
    return code;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
#ifdef VEXA_FULLSCREEN_EDITION
    return RunGame(instance, showCommand, GAME_FULLSCREEN);
#else
    return RunGame(instance, showCommand, GAME_WINDOWED);
#endif
}
