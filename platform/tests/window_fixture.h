// Test support for the window system: a window class whose procedure records every
// message, windows that are destroyed with their test, and SDL events pushed the way the
// video driver would deliver them.
#ifndef VEXA_PLATFORM_TESTS_WINDOW_FIXTURE_H
#define VEXA_PLATFORM_TESTS_WINDOW_FIXTURE_H

#include <windows.h>

#include "input_hub.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vexa::test {

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What the recording procedure saw, in order; and a hook to answer some messages itself.
std::vector<Received>& ReceivedMessages();
using MessageHook = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;
void SetMessageHook(MessageHook hook);
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The messages received, only those of the listed kinds.
std::vector<UINT> ReceivedKinds(const std::vector<UINT>& kinds);

class WindowTest : public ::testing::Test {
  protected:
    static constexpr const char* kClass = "VexaTestWindow";
    void SetUp() override;
    void TearDown() override;

    // A window of the recording class with this client size, not shown.
    HWND Create(DWORD style, int clientWidth = 900, int clientHeight = 675);
    // Create and ShowWindow(SW_SHOW), then forget the messages so far.
    HWND CreateShown(DWORD style = WS_CAPTION | WS_MINIMIZEBOX);
    uint32_t SdlId(HWND window) const;

    void PushWindowEvent(HWND window, uint8_t kind, int data1 = 0, int data2 = 0);
    void PushKey(HWND window, SDL_Scancode scancode, bool down, bool repeat = false,
                 uint16_t mod = KMOD_NONE);
    void PushText(HWND window, const char* utf8);

    // Every message PeekMessage hands out now (posted and input ones, not WM_PAINT).
    std::vector<MSG> TakePosted();
    // Kinds of TakePosted(), in order.
    std::vector<UINT> TakePostedKinds();

    std::vector<HWND> created_;
};

} // namespace vexa::test

#endif
