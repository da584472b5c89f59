// DefWindowProcA: Windows' default answers for the messages the engine leaves to it.
#include <windows.h>

namespace {

// The input method's messages. Windows' default turns WM_IME_CHAR into WM_CHAR and
// composition into the system window; our input method posts what the engine needs
// itself, so the default has nothing to add. This is the one place to extend if it must.
LRESULT DefaultImeMessage(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
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
