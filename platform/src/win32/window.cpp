// CreateWindowExA, DestroyWindow, ShowWindow, the window's caption and its state queries.
//
// A window is an SDL window created hidden, with an OpenGL surface when the driver can
// give one (the Direct3D layer draws through OpenGL on it). The messages of creation,
// showing and destruction are sent synchronously in Windows' order.
#include "activation.h"
#include "code_page.h"
#include "cursor_icon.h"
#include "input_hub.h"
#include "message_queue.h"
#include "window_registry.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

using namespace vexa::platform;

namespace {

// Client size Windows would choose for CW_USEDEFAULT on a small desktop.
constexpr int kDefaultClientWidth = 640;
constexpr int kDefaultClientHeight = 480;

SDL_Window* CreateSdlWindow(const std::string& title, int x, int y, int w, int h, Uint32 flags)
{
    SDL_Window* window = SDL_CreateWindow(title.c_str(), x, y, w, h, flags | SDL_WINDOW_OPENGL);
    if (!window)
        window = SDL_CreateWindow(title.c_str(), x, y, w, h, flags);
    return window;
}

Uint32 SdlFlagsOfStyle(DWORD style, DWORD exStyle)
{
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (IsFullScreenStyle(style))
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
    else if (style & WS_THICKFRAME)
        flags |= SDL_WINDOW_RESIZABLE;
    if (exStyle & WS_EX_TOPMOST)
        flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    return flags;
}

// Windows' default for the tracking sizes: the desktop plus the frame.
void FillMinMaxInfo(MINMAXINFO& info)
{
    int w = GetSystemMetrics(SM_CXSCREEN);
    int h = GetSystemMetrics(SM_CYSCREEN);
    info.ptMaxSize = POINT{w, h};
    info.ptMaxPosition = POINT{0, 0};
    info.ptMinTrackSize = POINT{1, 1};
    info.ptMaxTrackSize = POINT{w, h};
}

bool ShowsMinimised(int cmd)
{
    return cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE;
}

bool Activates(int cmd)
{
    return cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWMINNOACTIVE &&
           cmd != SW_MINIMIZE && cmd != SW_HIDE;
}

LPARAM ClientSizeParam(const WindowRecord& r)
{
    return MAKELPARAM(r.clientWidth, r.clientHeight);
}

} // namespace

WINAPI_EXPORT HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName,
                                          DWORD dwStyle, int X, int Y, int nWidth, int nHeight,
                                          HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                                          LPVOID lpParam)
{
    WindowClassRecord* cls =
        lpClassName && !IS_INTRESOURCE(lpClassName) ? FindClass(lpClassName) : nullptr;
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (!EnsureVideo()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    RECT frame = FrameOfStyle(dwStyle, dwExStyle);
    int w = nWidth == CW_USEDEFAULT ? kDefaultClientWidth : nWidth - frame.left - frame.right;
    int h = nWidth == CW_USEDEFAULT ? kDefaultClientHeight : nHeight - frame.top - frame.bottom;
    w = std::max(1, w);
    h = std::max(1, h);
    int x = X == CW_USEDEFAULT ? int(SDL_WINDOWPOS_UNDEFINED) : X + frame.left;
    int y = X == CW_USEDEFAULT ? int(SDL_WINDOWPOS_UNDEFINED) : Y + frame.top;
    // A full-screen window is made as large as its display: without a window manager
    // (a bare X server) nobody else would grow it, and it would stay 1 x 1.
    SDL_Rect bounds;
    if (IsFullScreenStyle(dwStyle) && SDL_GetDisplayBounds(0, &bounds) == 0)
        x = bounds.x, y = bounds.y, w = bounds.w, h = bounds.h;
    std::string caption = lpWindowName ? lpWindowName : "";
    SDL_Window* sdl =
        CreateSdlWindow(AnsiToUtf8(caption), x, y, w, h, SdlFlagsOfStyle(dwStyle, dwExStyle));
    if (!sdl) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }

    WindowRecord record;
    record.sdl = sdl;
    record.sdlId = SDL_GetWindowID(sdl);
    record.className = cls->name;
    record.classStyle = cls->style;
    record.proc = cls->proc;
    record.style = dwStyle & ~WS_VISIBLE;
    record.exStyle = dwExStyle;
    record.caption = caption;
    SDL_GetWindowSize(sdl, &record.pixelWidth, &record.pixelHeight);
    SDL_GetWindowPosition(sdl, &record.x, &record.y);
    // Some drivers give a hidden full-screen window its requested size until it is shown;
    // it will cover its display, and the program should see that size from the start.
    SDL_Rect display;
    if (IsFullScreenStyle(dwStyle) &&
        SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(sdl)), &display) == 0) {
        record.x = display.x;
        record.y = display.y;
        record.pixelWidth = display.w;
        record.pixelHeight = display.h;
    }
    RefreshClientSize(record);
    if (SDL_Surface* icon = IconSurface(cls->icon))
        SDL_SetWindowIcon(sdl, icon);
    HWND hwnd = AddWindow(std::move(record))->handle;

    MINMAXINFO minMax{};
    FillMinMaxInfo(minMax);
    SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&minMax));
    CREATESTRUCTA create{};
    create.lpCreateParams = lpParam;
    create.hInstance = hInstance;
    create.hMenu = hMenu;
    create.hwndParent = hWndParent;
    create.cx = nWidth;
    create.cy = nHeight;
    create.x = X;
    create.y = Y;
    create.style = LONG(dwStyle);
    create.lpszName = lpWindowName;
    create.lpszClass = lpClassName;
    create.dwExStyle = dwExStyle;
    if (FindWindowRecord(hwnd) &&
        !SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (FindWindowRecord(hwnd) &&
        SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!FindWindowRecord(hwnd))
        return nullptr;
    if (dwStyle & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOW);
    return FindWindowRecord(hwnd) ? hwnd : nullptr;
}

WINAPI_EXPORT BOOL WINAPI DestroyWindow(HWND hWnd)
{
    WindowRecord* record = RequireWindow(hWnd);
    if (!record)
        return FALSE;
    if (record->destroying)
        return TRUE;
    record->destroying = true;
    if (TextInputHandler* handler = GetTextInputHandler())
        handler->OnWindowDestroyed(hWnd);
    SendMessageA(hWnd, WM_DESTROY, 0, 0);
    SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
    record = FindWindowRecord(hWnd);
    if (record)
        SDL_DestroyWindow(record->sdl);
    PurgeMessagesFor(hWnd);
    RemoveWindow(hWnd);
    ForgetWindowInFocus(hWnd);
    // With no window left nothing of the program is active; the next window it shows
    // activates it again. The program is ending or between windows, so no WM_ACTIVATEAPP,
    // but the input devices learn of it.
    if (LiveWindows().empty() && SystemState().applicationActive) {
        SystemState().applicationActive = false;
        NotifyActivation(false);
    }
    return TRUE;
}

WINAPI_EXPORT BOOL WINAPI IsWindow(HWND hWnd)
{
    return FindWindowRecord(hWnd) != nullptr;
}

WINAPI_EXPORT BOOL WINAPI IsWindowVisible(HWND hWnd)
{
    WindowRecord* record = FindWindowRecord(hWnd);
    return record && record->visible;
}

WINAPI_EXPORT BOOL WINAPI IsIconic(HWND hWnd)
{
    WindowRecord* record = FindWindowRecord(hWnd);
    return record && record->minimised;
}

WINAPI_EXPORT BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow)
{
    WindowRecord* record = RequireWindow(hWnd);
    if (!record)
        return FALSE;
    BOOL wasVisible = record->visible ? TRUE : FALSE;
    if (nCmdShow == SW_HIDE) {
        if (record->visible) {
            SendMessageA(hWnd, WM_SHOWWINDOW, FALSE, 0);
            if ((record = FindWindowRecord(hWnd))) {
                SDL_HideWindow(record->sdl);
                record->visible = false;
            }
        }
        return wasVisible;
    }
    if (!record->visible) {
        SendMessageA(hWnd, WM_SHOWWINDOW, TRUE, 0);
        if (!(record = FindWindowRecord(hWnd)))
            return wasVisible;
        SDL_ShowWindow(record->sdl);
        record->visible = true;
        InvalidateWholeClient(*record);
    }
    if (Activates(nCmdShow))
        ActivateWindow(hWnd, Delivery::Send);
    if (!(record = FindWindowRecord(hWnd)))
        return wasVisible;
    if (!record->shownBefore && !ShowsMinimised(nCmdShow)) {
        record->shownBefore = true;
        int x = record->x;
        int y = record->y;
        SendMessageA(hWnd, WM_SIZE, SIZE_RESTORED, ClientSizeParam(*record));
        SendMessageA(hWnd, WM_MOVE, 0, MAKELPARAM(x, y));
        if (!(record = FindWindowRecord(hWnd)))
            return wasVisible;
    }
    if (ShowsMinimised(nCmdShow)) {
        if (!record->minimised) {
            record->minimised = true;
            SDL_MinimizeWindow(record->sdl);
            SendMessageA(hWnd, WM_SIZE, SIZE_MINIMIZED, 0);
        }
    } else if (nCmdShow == SW_MAXIMIZE) {
        if (!record->maximised && !IsFullScreenStyle(record->style)) {
            record->maximised = true;
            record->minimised = false;
            SDL_MaximizeWindow(record->sdl);
            SDL_GetWindowSize(record->sdl, &record->pixelWidth, &record->pixelHeight);
            RefreshClientSize(*record);
            InvalidateWholeClient(*record);
            SendMessageA(hWnd, WM_SIZE, SIZE_MAXIMIZED, ClientSizeParam(*record));
        }
    } else if (nCmdShow == SW_RESTORE || nCmdShow == SW_SHOWNORMAL) {
        if (record->minimised || record->maximised) {
            record->minimised = false;
            record->maximised = false;
            SDL_RestoreWindow(record->sdl);
            SDL_GetWindowSize(record->sdl, &record->pixelWidth, &record->pixelHeight);
            RefreshClientSize(*record);
            InvalidateWholeClient(*record);
            SendMessageA(hWnd, WM_SIZE, SIZE_RESTORED, ClientSizeParam(*record));
        }
    }
    return wasVisible;
}

WINAPI_EXPORT BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString)
{
    WindowRecord* record = RequireWindow(hWnd);
    if (!record)
        return FALSE;
    record->caption = lpString ? lpString : "";
    SDL_SetWindowTitle(record->sdl, AnsiToUtf8(record->caption).c_str());
    return TRUE;
}

WINAPI_EXPORT int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount)
{
    WindowRecord* record = RequireWindow(hWnd);
    if (!record || !lpString || nMaxCount <= 0)
        return 0;
    size_t n = std::min(record->caption.size(), size_t(nMaxCount - 1));
    std::memcpy(lpString, record->caption.data(), n);
    lpString[n] = '\0';
    return int(n);
}
