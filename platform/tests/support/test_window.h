// Test helper: a shown window on SDL's offscreen driver and the SDL events a user would
// cause in it, pushed through SDL's queue so they travel the real pump.
#ifndef VEXA_PLATFORM_TESTS_TEST_WINDOW_H
#define VEXA_PLATFORM_TESTS_TEST_WINDOW_H

#include <windows.h>

#include "../../src/win32/input_hub.h"

#include "sdl_events.h"

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

    void PushWindowEvent(Uint8 what) const { vexa::test::PushSdlWindowEvent(handle, what); }
    void PushKey(SDL_Scancode code, bool down) const { vexa::test::PushSdlKey(handle, code, down); }
    void PushMotion(int x, int y, int dx, int dy) const
    {
        vexa::test::PushSdlMotion(handle, x, y, dx, dy);
    }
    void PushButton(Uint8 button, bool down, int x = 10, int y = 10) const
    {
        vexa::test::PushSdlButton(handle, button, down, x, y);
    }
    void PushWheel(int notches) const { vexa::test::PushSdlWheel(handle, notches); }
    void PushEditing(const char* utf8, int start, int length) const
    {
        vexa::test::PushSdlEditing(handle, utf8, start, length);
    }
    void PushText(const char* utf8) const { vexa::test::PushSdlText(handle, utf8); }

    HWND handle = nullptr;
};

#endif
