// Focus and activation: SetFocus, GetFocus, GetActiveWindow, GetForegroundWindow and the
// changes ShowWindow and the pump make.
//
// The application's active state is tracked here rather than read from SDL because on
// the offscreen driver, and under an X server without a window manager, no focus event
// ever comes: the first shown window makes the application active, as on Windows.
#include "activation.h"
#include "input_hub.h"
#include "window_registry.h"

namespace vexa::platform {

namespace {

void Deliver(Delivery delivery, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!FindWindowRecord(window))
        return;
    if (delivery == Delivery::Send)
        SendMessageA(window, message, wParam, lParam);
    else
        PostMessageA(window, message, wParam, lParam);
}

} // namespace

void ChangeFocus(HWND window, Delivery delivery)
{
    WindowSystemState& state = SystemState();
    if (state.focus == window)
        return;
    HWND old = state.focus;
    state.focus = window;
    Deliver(delivery, old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    Deliver(delivery, window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    if (TextInputHandler* handler = GetTextInputHandler())
        handler->OnFocus(state.focus);
}

void ActivateWindow(HWND window, Delivery delivery)
{
    WindowSystemState& state = SystemState();
    if (!FindWindowRecord(window))
        return;
    if (!state.applicationActive) {
        state.applicationActive = true;
        for (HWND w : LiveWindows())
            Deliver(delivery, w, WM_ACTIVATEAPP, TRUE, 0);
        NotifyActivation(true);
    }
    if (state.active != window) {
        HWND old = state.active;
        state.active = window;
        Deliver(delivery, old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
        Deliver(delivery, window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
    }
    if (FindWindowRecord(window) && state.active == window)
        ChangeFocus(window, delivery);
}

void DeactivateApplication(Delivery delivery)
{
    WindowSystemState& state = SystemState();
    ChangeFocus(nullptr, delivery);
    if (state.active) {
        HWND old = state.active;
        state.active = nullptr;
        Deliver(delivery, old, WM_ACTIVATE, WA_INACTIVE, 0);
    }
    if (state.applicationActive) {
        state.applicationActive = false;
        for (HWND w : LiveWindows())
            Deliver(delivery, w, WM_ACTIVATEAPP, FALSE, 0);
        NotifyActivation(false);
    }
}

void ForgetWindowInFocus(HWND window)
{
    WindowSystemState& state = SystemState();
    if (state.focus == window) {
        state.focus = nullptr;
        if (TextInputHandler* handler = GetTextInputHandler())
            handler->OnFocus(nullptr);
    }
    if (state.active == window)
        state.active = nullptr;
    if (state.pointerWindow == window)
        state.pointerWindow = nullptr;
}

} // namespace vexa::platform

using namespace vexa::platform;

WINAPI_EXPORT HWND WINAPI SetFocus(HWND hWnd)
{
    HWND previous = SystemState().focus;
    if (hWnd && !RequireWindow(hWnd))
        return nullptr;
    // Focusing a window of an inactive application or another window activates it first.
    if (hWnd && SystemState().active != hWnd)
        ActivateWindow(hWnd, Delivery::Send);
    ChangeFocus(hWnd, Delivery::Send);
    return previous;
}

WINAPI_EXPORT HWND WINAPI GetFocus(void)
{
    return SystemState().focus;
}

WINAPI_EXPORT HWND WINAPI GetActiveWindow(void)
{
    return SystemState().active;
}

WINAPI_EXPORT HWND WINAPI GetForegroundWindow(void)
{
    return SystemState().applicationActive ? SystemState().active : nullptr;
}
