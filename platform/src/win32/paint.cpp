// The update region and painting: InvalidateRect, ValidateRect, GetUpdateRect,
// BeginPaint, EndPaint and UpdateWindow.
//
// The region is kept as its bounding rectangle; nothing in the engine paints less than
// the whole client area, so a union of rectangles would buy nothing. Drawing itself goes
// through Direct3D, so the device context BeginPaint returns only stands for the window.
#include "input_hub.h"
#include "window_registry.h"

#include <algorithm>

using namespace vexa::platform;

namespace {

RECT Clipped(const WindowRecord& r, const RECT& rect)
{
    return RECT{std::max(rect.left, LONG(0)), std::max(rect.top, LONG(0)),
                std::min(rect.right, LONG(r.clientWidth)),
                std::min(rect.bottom, LONG(r.clientHeight))};
}

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

void Validate(WindowRecord& r)
{
    r.updatePending = false;
    r.erasePending = false;
    r.paintUnanswered = false;
    r.updateRect = RECT{};
}

void Invalidate(WindowRecord& r, const RECT* rect, BOOL erase)
{
    RECT add = rect ? Clipped(r, *rect) : RECT{0, 0, r.clientWidth, r.clientHeight};
    if (IsEmpty(add))
        return;
    if (r.updatePending) {
        r.updateRect.left = std::min(r.updateRect.left, add.left);
        r.updateRect.top = std::min(r.updateRect.top, add.top);
        r.updateRect.right = std::max(r.updateRect.right, add.right);
        r.updateRect.bottom = std::max(r.updateRect.bottom, add.bottom);
    } else {
        r.updateRect = add;
    }
    r.updatePending = true;
    r.erasePending = r.erasePending || erase;
}

} // namespace

WINAPI_EXPORT BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase)
{
    // A null window means every window, as on Windows.
    if (!hWnd) {
        for (HWND w : LiveWindows())
            Invalidate(*FindWindowRecord(w), nullptr, bErase);
        return TRUE;
    }
    WindowRecord* record = RequireWindow(hWnd);
    if (!record)
        return FALSE;
    Invalidate(*record, lpRect, bErase);
    return TRUE;
}

WINAPI_EXPORT BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect)
{
    WindowRecord* record = RequireWindow(hWnd);
    if (!record)
        return FALSE;
    if (!lpRect) {
        Validate(*record);
        return TRUE;
    }
    // With a bounding rectangle only a rectangle covering it can empty the region.
    const RECT& u = record->updateRect;
    if (lpRect->left <= u.left && lpRect->top <= u.top && lpRect->right >= u.right &&
        lpRect->bottom >= u.bottom)
        Validate(*record);
    return TRUE;
}

WINAPI_EXPORT BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL)
{
    WindowRecord* record = RequireWindow(hWnd);
    if (!record)
        return FALSE;
    if (lpRect)
        *lpRect = record->updatePending ? record->updateRect : RECT{};
    return record->updatePending ? TRUE : FALSE;
}

WINAPI_EXPORT HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    WindowRecord* record = RequireWindow(hWnd);
    if (!record || !lpPaint)
        return nullptr;
    *lpPaint = PAINTSTRUCT{};
    lpPaint->hdc = reinterpret_cast<HDC>(hWnd);
    lpPaint->fErase = record->erasePending ? TRUE : FALSE;
    lpPaint->rcPaint = record->updatePending ? record->updateRect : RECT{};
    Validate(*record);
    return lpPaint->hdc;
}

WINAPI_EXPORT BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT*)
{
    return FindWindowRecord(hWnd) ? TRUE : FALSE;
}

WINAPI_EXPORT BOOL WINAPI UpdateWindow(HWND hWnd)
{
    WindowRecord* record = RequireWindow(hWnd);
    if (!record)
        return FALSE;
    if (record->updatePending && record->visible)
        SendMessageA(hWnd, WM_PAINT, 0, 0);
    return TRUE;
}
