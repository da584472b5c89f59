// Window geometry: the frame metrics shared by AdjustWindowRectEx and CreateWindowExA,
// client and screen coordinates, programmatic moves and sizes, and the letterbox mapping
// of full-screen windows.
//
// SDL positions and sizes a window by its client area, so a window's screen position here
// is its client area's; the frame exists only in the numbers AdjustWindowRectEx and
// GetWindowRect report. Both use the same metrics, which is what makes a program that
// sizes its window through AdjustWindowRect get back exactly the client size it wanted.
#include "input_hub.h"
#include "window_registry.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

namespace vexa::platform {

namespace {

constexpr int kCaption = 23;
constexpr int kFixedBorder = 3; // the dialog frame WS_CAPTION includes
constexpr int kThinBorder = 1;  // WS_BORDER alone
constexpr int kThickFrame = 4;  // extra sizing border per side

struct Letterbox {
    double scale;
    double offsetX;
    double offsetY;
};

// Invariant: only meaningful for a full-screen window with both sizes positive.
Letterbox LetterboxOf(const WindowRecord& r)
{
    double sx = double(r.pixelWidth) / r.clientWidth;
    double sy = double(r.pixelHeight) / r.clientHeight;
    double scale = std::min(sx, sy);
    return Letterbox{scale, (r.pixelWidth - r.clientWidth * scale) / 2.0,
                     (r.pixelHeight - r.clientHeight * scale) / 2.0};
}

bool Letterboxed(const WindowRecord& r)
{
    return IsFullScreenStyle(r.style) && r.clientWidth > 0 && r.clientHeight > 0 &&
           r.pixelWidth > 0 && r.pixelHeight > 0;
}

POINT ClientToWindowPixel(const WindowRecord& r, POINT p)
{
    if (!Letterboxed(r))
        return p;
    Letterbox box = LetterboxOf(r);
    return POINT{LONG(std::lround(box.offsetX + p.x * box.scale)),
                 LONG(std::lround(box.offsetY + p.y * box.scale))};
}

POINT PixelToClient(const WindowRecord& r, int x, int y)
{
    if (!Letterboxed(r))
        return POINT{x, y};
    Letterbox box = LetterboxOf(r);
    return POINT{LONG(std::floor((x - box.offsetX) / box.scale)),
                 LONG(std::floor((y - box.offsetY) / box.scale))};
}

} // namespace

bool IsFullScreenStyle(DWORD style)
{
    return (style & WS_POPUP) != 0;
}

RECT FrameOfStyle(DWORD style, DWORD)
{
    int border = 0;
    int caption = 0;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        border = kFixedBorder;
        caption = kCaption;
    } else if (style & WS_DLGFRAME) {
        border = kFixedBorder;
    } else if (style & WS_BORDER) {
        border = kThinBorder;
    }
    if (style & WS_THICKFRAME)
        border += kThickFrame;
    return RECT{border, border + caption, border, border};
}

void RefreshClientSize(WindowRecord& record)
{
    if (IsFullScreenStyle(record.style) && record.backWidth > 0 && record.backHeight > 0) {
        record.clientWidth = record.backWidth;
        record.clientHeight = record.backHeight;
    } else {
        record.clientWidth = record.pixelWidth;
        record.clientHeight = record.pixelHeight;
    }
}

void SetBackBufferSize(HWND window, int width, int height)
{
    WindowRecord* record = FindWindowRecord(window);
    if (!record || width <= 0 || height <= 0)
        return;
    record->backWidth = width;
    record->backHeight = height;
    RefreshClientSize(*record);
}

POINT WindowPixelToClient(HWND window, int x, int y)
{
    WindowRecord* record = FindWindowRecord(window);
    return record ? PixelToClient(*record, x, y) : POINT{x, y};
}

} // namespace vexa::platform

using namespace vexa::platform;

WINAPI_EXPORT BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL, DWORD dwExStyle)
{
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT frame = FrameOfStyle(dwStyle, dwExStyle);
    lpRect->left -= frame.left;
    lpRect->top -= frame.top;
    lpRect->right += frame.right;
    lpRect->bottom += frame.bottom;
    return TRUE;
}

WINAPI_EXPORT BOOL WINAPI AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu)
{
    return AdjustWindowRectEx(lpRect, dwStyle, bMenu, 0);
}

WINAPI_EXPORT BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect)
{
    WindowRecord* record = RequireWindow(hWnd);
    if (!record)
        return FALSE;
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpRect = RECT{0, 0, record->clientWidth, record->clientHeight};
    return TRUE;
}

WINAPI_EXPORT BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    WindowRecord* record = RequireWindow(hWnd);
    if (!record)
        return FALSE;
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT frame = FrameOfStyle(record->style, record->exStyle);
    *lpRect = RECT{record->x - frame.left, record->y - frame.top,
                   record->x + record->pixelWidth + frame.right,
                   record->y + record->pixelHeight + frame.bottom};
    return TRUE;
}

WINAPI_EXPORT BOOL WINAPI SetWindowPos(HWND hWnd, HWND, int X, int Y, int cx, int cy, UINT uFlags)
{
    WindowRecord* record = RequireWindow(hWnd);
    if (!record)
        return FALSE;
    RECT frame = FrameOfStyle(record->style, record->exStyle);
    bool sized = false;
    bool moved = false;
    // A full-screen window keeps the display's size and place.
    if (!(uFlags & SWP_NOSIZE) && !IsFullScreenStyle(record->style)) {
        int w = std::max(0, cx - frame.left - frame.right);
        int h = std::max(0, cy - frame.top - frame.bottom);
        if (w != record->pixelWidth || h != record->pixelHeight) {
            // The record changes first, so the SDL event that follows reports no change.
            record->pixelWidth = w;
            record->pixelHeight = h;
            RefreshClientSize(*record);
            SDL_SetWindowSize(record->sdl, w, h);
            InvalidateWholeClient(*record);
            sized = true;
        }
    }
    if (!(uFlags & SWP_NOMOVE) && !IsFullScreenStyle(record->style)) {
        int x = X + frame.left;
        int y = Y + frame.top;
        if (x != record->x || y != record->y) {
            record->x = x;
            record->y = y;
            SDL_SetWindowPosition(record->sdl, x, y);
            moved = true;
        }
    }
    int clientW = record->clientWidth;
    int clientH = record->clientHeight;
    int posX = record->x;
    int posY = record->y;
    if (uFlags & SWP_SHOWWINDOW)
        ShowWindow(hWnd, (uFlags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if (sized)
        SendMessageA(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(clientW, clientH));
    if (moved)
        SendMessageA(hWnd, WM_MOVE, 0, MAKELPARAM(posX, posY));
    return TRUE;
}

WINAPI_EXPORT BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight,
                                     BOOL bRepaint)
{
    if (!SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight, SWP_NOZORDER | SWP_NOACTIVATE))
        return FALSE;
    if (bRepaint)
        UpdateWindow(hWnd);
    return TRUE;
}

WINAPI_EXPORT BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    WindowRecord* record = RequireWindow(hWnd);
    if (!record || !lpPoint)
        return FALSE;
    POINT pixel = ClientToWindowPixel(*record, *lpPoint);
    lpPoint->x = record->x + pixel.x;
    lpPoint->y = record->y + pixel.y;
    return TRUE;
}

WINAPI_EXPORT BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint)
{
    WindowRecord* record = RequireWindow(hWnd);
    if (!record || !lpPoint)
        return FALSE;
    *lpPoint = PixelToClient(*record, lpPoint->x - record->x, lpPoint->y - record->y);
    return TRUE;
}

WINAPI_EXPORT int WINAPI GetSystemMetrics(int nIndex)
{
    if (nIndex != SM_CXSCREEN && nIndex != SM_CYSCREEN)
        return 0;
    SDL_DisplayMode mode;
    if (!EnsureVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return 0;
    return nIndex == SM_CXSCREEN ? mode.w : mode.h;
}
