// Test helper: a shown window on SDL's offscreen driver and the SDL events a user would
// cause in it, pushed through SDL's queue so they travel the real pump.
#ifndef VEXA_PLATFORM_TESTS_TEST_WINDOW_H
#define VEXA_PLATFORM_TESTS_TEST_WINDOW_H

#include <windows.h>

#include "../../src/win32/input_hub.h"

#include <SDL.h>

#include <cstring>
#include <string>
#include <vector>

class TestWindow {
public:
    explicit TestWindow(int width = 320, int height = 240)
    {
        static const ATOM atom = [] {
            WNDCLASSEXA wc = {};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "VexaInputTestWindow";
            return RegisterClassExA(&wc);
        }();
        (void)atom;
        handle = CreateWindowExA(0, "VexaInputTestWindow", "input test",
                                 WS_CAPTION | WS_MINIMIZEBOX, 0, 0, width, height, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(handle, SW_SHOW);
        SetFocus(handle);
        Drain();
    }
    ~TestWindow()
    {
        DestroyWindow(handle);
        Drain();
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    Uint32 SdlId() const { return SDL_GetWindowID(vexa::platform::SdlWindowOf(handle)); }

    // Every queued message in the range, oldest first, removed from the queue.
    std::vector<MSG> Take(UINT first, UINT last) const
    {
        std::vector<MSG> taken;
        MSG msg;
        while (PeekMessageA(&msg, handle, first, last, PM_REMOVE))
            taken.push_back(msg);
        return taken;
    }
    // Lets the pump see what was pushed and forgets the resulting messages.
    void Drain() const
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_PAINT)
                ValidateRect(msg.hwnd, nullptr);
        }
    }

    void PushWindowEvent(Uint8 what) const
    {
        SDL_Event e = {};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = SdlId();
        e.window.event = what;
        SDL_PushEvent(&e);
    }
    void PushKey(SDL_Scancode code, bool down) const
    {
        SDL_Event e = {};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.windowID = SdlId();
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = code;
        e.key.keysym.sym = SDL_GetKeyFromScancode(code);
        SDL_PushEvent(&e);
    }
    void PushMotion(int x, int y, int dx, int dy) const
    {
        SDL_Event e = {};
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = SdlId();
        e.motion.x = x;
        e.motion.y = y;
        e.motion.xrel = dx;
        e.motion.yrel = dy;
        SDL_PushEvent(&e);
    }
    void PushButton(Uint8 button, bool down, int x = 10, int y = 10) const
    {
        SDL_Event e = {};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.windowID = SdlId();
        e.button.button = button;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = 1;
        e.button.x = x;
        e.button.y = y;
        SDL_PushEvent(&e);
    }
    void PushWheel(int notches) const
    {
        SDL_Event e = {};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.windowID = SdlId();
        e.wheel.y = notches;
        e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
        SDL_PushEvent(&e);
    }
    void PushEditing(const char* utf8, int start, int length) const
    {
        SDL_Event e = {};
        e.type = SDL_TEXTEDITING;
        e.edit.windowID = SdlId();
        std::strncpy(e.edit.text, utf8, sizeof(e.edit.text) - 1);
        e.edit.start = start;
        e.edit.length = length;
        SDL_PushEvent(&e);
    }
    void PushText(const char* utf8) const
    {
        SDL_Event e = {};
        e.type = SDL_TEXTINPUT;
        e.text.windowID = SdlId();
        std::strncpy(e.text.text, utf8, sizeof(e.text.text) - 1);
        SDL_PushEvent(&e);
    }

    HWND handle = nullptr;
};

#endif
