// The pump's subscribers: the input listeners (the DirectInput devices) and the text
// input handler (the input method), and the pointer state they start from.
#include "activation.h"
#include "code_page.h"
#include "input_events.h"
#include "window_registry.h"

#include <algorithm>
#include <vector>

namespace vexa::platform {

namespace {

std::vector<InputListener*>& Listeners()
{
    static std::vector<InputListener*> listeners;
    return listeners;
}

TextInputHandler* textInputHandler = nullptr;

} // namespace

void AddInputListener(InputListener* listener)
{
    auto& listeners = Listeners();
    if (listener && std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back(listener);
}

void RemoveInputListener(InputListener* listener)
{
    auto& listeners = Listeners();
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

void ForEachListener(const std::function<void(InputListener&)>& fn)
{
    // A copy, and a check that each one is still registered, so a listener removed by
    // another's callback is not called.
    std::vector<InputListener*> snapshot = Listeners();
    for (InputListener* listener : snapshot) {
        auto& live = Listeners();
        if (std::find(live.begin(), live.end(), listener) != live.end())
            fn(*listener);
    }
}

void NotifyActivation(bool active)
{
    ForEachListener([active](InputListener& l) { l.OnActivation(active); });
}

void SetTextInputHandler(TextInputHandler* handler)
{
    textInputHandler = handler;
}

TextInputHandler* GetTextInputHandler()
{
    return textInputHandler;
}

void PostTextAsChars(HWND window, const std::string& utf8)
{
    for (unsigned char byte : Utf8ToAnsi(utf8))
        PostMessageA(window, WM_CHAR, WPARAM(byte), 1);
}

POINT PointerPosition()
{
    return SystemState().pointer;
}

HWND PointerWindow()
{
    return SystemState().pointerWindow;
}

unsigned MouseButtons()
{
    return SystemState().mouseButtons;
}

} // namespace vexa::platform
