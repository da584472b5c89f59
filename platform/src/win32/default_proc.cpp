// DefWindowProcA: Windows' default answers for the messages the engine leaves to it.
#include <windows.h>

#include "input_hub.h"

namespace {

// The input method's messages. Windows' default turns WM_IME_CHAR into WM_CHAR and
// composition into the system window; the input method (imm) answers them here.
LRESULT DefaultImeMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    bool handled = false;
    return vexa::platform::ImeDefWindowProc(hWnd, Msg, wParam, lParam, &handled);
}

} // namespace

WINAPI_EXPORT LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    switch (Msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hWnd, &ps);
        EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_SYSKEYDOWN:
        // Alt+F4 closes the window, through the system menu's close command on Windows.
        if (wParam == VK_F4 && (lParam & (1 << 29)))
            PostMessageA(hWnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_NOTIFY:
    case WM_IME_CHAR:
        return DefaultImeMessage(hWnd, Msg, wParam, lParam);
    default:
        return 0;
    }
}
