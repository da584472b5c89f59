// Creating, adopting and destroying the one top-level window.
#include "kvApplication.h"

#include "kvException.h"
#include "kvIME.h"
#include "kvTrace.h"

namespace {
// The client rectangle, refreshed from the window.
void ReadClientRect()
{
    RECT rc = {0, 0, 0, 0};
    GetClientRect(hWnd, &rc);
    rcWindowClient = rc;
}
}  // namespace

void kvCreateWindow(char* className, char* caption, int showCommand, HICON icon, int width,
                    int height, DWORD flags)
{
    bWindowed = (flags & KVWIN_WINDOWED) != 0;
    bSysMouse = (flags & KVWIN_SYSMOUSE) != 0;
    ScreenX = width;
    ScreenY = height;

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = kvWindowProc;
    wc.hInstance = hInst;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszMenuName = className;
    wc.lpszClassName = className;
    // A second window of the same class (a program that recreates its window) finds the
    // class already there; that is not a failure.
    RegisterClassExA(&wc);

    bSkinnedApp = (flags & KVWIN_SKINNED) != 0;
    if (bSkinnedApp) {
        bWindowed = true;
        bMouseVis = false;
        bSysMouse = true;
        bNoRealTime = true;
    }
    if (flags & KVWIN_REALTIME)
        bNoRealTime = false;

    kvlib::ResetIMESwitch();
    HWND created;
    if (!bWindowed) {
        created = CreateWindowExA(WS_EX_TOPMOST, className, caption, WS_POPUP | WS_VISIBLE, 0,
                                  0, 0, 0, nullptr, nullptr, hInst, nullptr);
    } else {
        DWORD style = (flags & KVWIN_FIXEDSIZE) ? (WS_CAPTION | WS_MINIMIZEBOX)
                                                : WS_OVERLAPPEDWINDOW;
        RECT outer = {0, 0, ScreenX, ScreenY};
        AdjustWindowRect(&outer, style, FALSE);
        created = CreateWindowExA(0, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                  nullptr, hInst, nullptr);
    }
    if (!created)
        NewException("Failed to create window.", KVEXCEPTION_GENERAL);
    hWnd = created;
    Trace("hWnd '%s' = %x successfully created.", caption ? caption : "",
          unsigned(uintptr_t(hWnd)));
    ShowCursor(bSysMouse);
    ReadClientRect();
    SetFocus(hWnd);
    ShowWindow(hWnd, showCommand);
    UpdateWindow(hWnd);
}

void kvSubmitWindow(HWND window)
{
    bWindowed = true;
    bSkinnedApp = true;
    bSysMouse = true;
    bMouseVis = false;
    hWnd = window;
    kvlib::ResetIMESwitch();
    ReadClientRect();
    ScreenX = rcWindowClient.right - rcWindowClient.left;
    ScreenY = rcWindowClient.bottom - rcWindowClient.top;
    Trace("hWnd = %x successfully submitted.", unsigned(uintptr_t(hWnd)));
}

void kvDestroyWindow()
{
    HWND window = hWnd;
    // Already gone when the window procedure's default handling of WM_CLOSE destroyed it.
    if (IsWindow(window))
        DestroyWindow(window);
    hWnd = nullptr;
    Trace("hWnd = %x destroyed.", unsigned(uintptr_t(window)));
}
