// kvApplication: the application base class, runtime start-up and shut-down, the one
// top-level window and its procedure, the default main loop, the frame clock, and the
// runtime globals that describe the window and its mode.
#ifndef KVLIB_KVAPPLICATION_H
#define KVLIB_KVAPPLICATION_H

#include <windows.h>

// The program's application object. The runtime calls Init once after the graphics and
// input systems are up, LoadObjs after Init and after every device restore or resize,
// DestroyObjs before each restore or resize and at release, and MainLoop once per frame
// under the runtime's own loop. The runtime deletes the object through its destructor.
class kvApplication {
public:
    virtual void Init();
    virtual void LoadObjs();
    virtual void DestroyObjs();
    virtual void MainLoop();
    virtual ~kvApplication();
};

// ---- window and mode -----------------------------------------------------------------
extern HINSTANCE hInst;
extern HINSTANCE hKvLib;
extern HWND hWnd;
extern RECT rcWindowClient;
extern int32_t ScreenX;
extern int32_t ScreenY;
extern bool bWindowed;
extern bool bSkinnedApp;
extern bool bSysMouse;
extern bool bMouseVis;
extern bool bNoRealTime;
extern bool bShowFPS;
extern bool bTick;
extern bool bActive;
extern bool bQuit;
extern bool bZebHandle;
extern kvApplication* kvApp;
// Paints a frame while the program is in the background; set by the main loops.
extern void (*AppPaint)();

// ---- the frame clock -----------------------------------------------------------------
extern float fTime;
extern float fElapsedTime;
extern float fAppTime;
// fTime in milliseconds, truncated; declared with the event queue in kvInput.h as well.
extern DWORD TimeStamp;

// Window flags of kvCreateWindow.
#define KVWIN_SKINNED 0x01
#define KVWIN_WINDOWED 0x02
#define KVWIN_SYSMOUSE 0x04
#define KVWIN_FIXEDSIZE 0x08
#define KVWIN_REALTIME 0x10

// Seeds rand, fills the key table, stores the instance and the application, starts COM
// and creates the resource registry.
void InitKV(HINSTANCE instance, kvApplication* app);
// Deletes the application if still there, stops COM, closes the trace outputs (the debug
// log ends with its FINISH line and the memory dump) and destroys the registry.
void ReleaseKV();

// Registers the window class and creates the one window; throws "Failed to create
// window." when that fails.
void kvCreateWindow(char* className, char* caption, int showCommand, HICON icon, int width,
                    int height, DWORD flags);
// Adopts a window created elsewhere as a skinned, windowed program with the system cursor.
void kvSubmitWindow(HWND window);
void kvDestroyWindow();
LRESULT CALLBACK kvWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The runtime's own main loop for programs without the GUI framework.
void kvMain();

namespace kvlib {
// The exit code the last kvMain ended with: its WM_QUIT's, or -1 after an exception.
int LastQuitCode();
}

// Advances the clock once per frame; the first frame and the first after a pause add
// nothing to fAppTime.
void UpdateTimeCounter();
// Frames per second of the last frame (1 / fElapsedTime, truncated).
DWORD GetFPS();

#endif
