// The window procedure: turns the window's messages into runtime state and events.
// Every branch runs under the exception handler, so a failure inside a message ends the
// program through CatchException instead of unwinding through the platform.
#include "kvApplication.h"

#include "kvException.h"
#include "kvIME.h"
#include "kvInput.h"
#include "kvResource.h"

#include <imm.h>

namespace kvlib {
void PauseClock();
}

namespace {
// A skinned window follows its new client size: the device objects are rebuilt for it
// and the GUI hears of it through command 18. Every call ends with a redraw request.
void ResizeStep()
{
    if (!(bWindowed && bSkinnedApp))
        return;
    RECT previous = rcWindowClient;
    RECT now = {0, 0, 0, 0};
    GetClientRect(hWnd, &now);
    rcWindowClient = now;
    int width = now.right - now.left;
    int height = now.bottom - now.top;
    if (width != previous.right - previous.left || height != previous.bottom - previous.top) {
        ScreenX = width;
        ScreenY = height;
        kvlib::DestroyAppObjects();
        if (kvgi)
            kvgi->Resize(DWORD(ScreenX), DWORD(ScreenY));
        kvlib::LoadAppObjects();
        kvlib::PostCommand(VLX_CMD_RESIZED);
    }
    InvalidateView();
}

// The input method's messages go to the installed object's slots; the runtime's own
// default object takes no part, so without a program's object the window's default
// processing turns a result into typed bytes. The composing flag is up from the start of
// a composition to its end. A composition update the object answers true for is its
// own: in particular a result it has put into a line does not come back as bytes.
bool ComposesItself()
{
    return kvimei && kvimei->ClassId != KVIME_DEFAULT_ID;
}

LRESULT ImeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!ComposesItself())
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_IME_STARTCOMPOSITION:
        kvimei->bComposing = true;
        kvimei->StartComposition(unsigned(wParam), LONG(lParam));
        return 0;
    case WM_IME_COMPOSITION:
        if (kvimei->Composition(unsigned(wParam), LONG(lParam)))
            return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_IME_ENDCOMPOSITION:
        kvimei->EndComposition(unsigned(wParam), LONG(lParam));
        // The slot may have replaced or removed the object.
        if (kvimei)
            kvimei->bComposing = false;
        return 0;
    case WM_IME_NOTIFY:
        if (wParam == IMN_OPENCANDIDATE || wParam == IMN_CHANGECANDIDATE)
            kvimei->GetCandidate();
        else if (wParam == IMN_CLOSECANDIDATE)
            kvimei->CloseCandidate();
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        if (bQuit) {
            if (!bZebHandle)
                kvlib::ReleaseObjectsWhenSafe();
            PostQuitMessage(0);
        }
        return 0;
    case WM_SIZE:
        if ((wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) && bActive)
            ResizeStep();
        return 0;
    case WM_PAINT:
        if ((bActive && GetFocus() == window) || !bQuit)
            return DefWindowProcA(window, message, wParam, lParam);
        // Left unvalidated on purpose: the platform keeps sending WM_PAINT, so the picture
        // keeps being redrawn while the program is in the background.
        if (AppPaint)
            AppPaint();
        return 0;
    case WM_CLOSE:
        if (bZebHandle) {
            kvlib::PostCommand(VLX_CMD_CLOSE);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_ACTIVATEAPP:
        bActive = wParam != 0;
        if (!bActive)
            kvlib::PauseClock();
        else if (bQuit)
            kvRestoreObjects();
        return 0;
    case WM_GETMINMAXINFO: {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (info) {
            info->ptMinTrackSize.x = 100;
            info->ptMinTrackSize.y = 100;
        }
        return 0;
    }
    case WM_KEYDOWN: {
        VlxMessage e;
        ClearEvent(&e);
        e.type = VLX_KEY;
        e.x = kvlib::KeyDownCode(wParam, lParam);
        AddEvent(&e);
        return 0;
    }
    case WM_CHAR:
        kvlib::PutTypedChar(wParam);
        return 0;
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_NOTIFY:
        return ImeMessage(window, message, wParam, lParam);
    case WM_ENTERSIZEMOVE:
        bActive = false;
        kvlib::PauseClock();
        return 0;
    case WM_EXITSIZEMOVE:
        bActive = true;
        ResizeStep();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
}  // namespace

LRESULT CALLBACK kvWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return HandleMessage(window, message, wParam, lParam);
    } catch (kvException* e) {
        CatchException(e);
        return 0;
    }
}
