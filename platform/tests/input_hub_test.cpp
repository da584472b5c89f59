// What the pump tells its subscribers: mouse messages and the pointer state, the input
// listeners' calls, and the text input handler's.
#include "window_fixture.h"

#include "support/sdl_events.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

using namespace vexa::platform;
using vexa::test::ReceivedMessages;
using vexa::test::WindowTest;

class InputHubTest : public WindowTest {
  protected:
    void PushMotion(HWND w, int x, int y, int dx, int dy)
    {
        ASSERT_TRUE(vexa::test::PushSdlMotion(w, x, y, dx, dy));
    }
    void PushButton(HWND w, uint8_t button, bool down, int x, int y)
    {
        ASSERT_TRUE(vexa::test::PushSdlButton(w, button, down, x, y));
    }
    void PushWheel(HWND w, int y) { ASSERT_TRUE(vexa::test::PushSdlWheel(w, y)); }
};

struct Listener : InputListener {
    std::vector<std::string> calls;
    void OnMouseMotion(int dx, int dy) override
    {
        calls.push_back("motion " + std::to_string(dx) + " " + std::to_string(dy));
    }
    void OnMouseButton(int button, bool down) override
    {
        calls.push_back("button " + std::to_string(button) + (down ? " down" : " up"));
    }
    void OnMouseWheel(int delta) override { calls.push_back("wheel " + std::to_string(delta)); }
    void OnKey(int key, bool down) override
    {
        calls.push_back("key " + std::to_string(key) + (down ? " down" : " up"));
    }
    void OnActivation(bool active) override { calls.push_back(active ? "active" : "inactive"); }
};

TEST_F(InputHubTest, MouseMessagesCarryClientPositionsAndButtons)
{
    HWND w = CreateShown();
    PushMotion(w, 120, 80, 5, -3);
    PushButton(w, SDL_BUTTON_LEFT, true, 121, 81);
    PushButton(w, SDL_BUTTON_RIGHT, true, 121, 81);
    PushButton(w, SDL_BUTTON_LEFT, false, 122, 82);
    PushButton(w, SDL_BUTTON_RIGHT, false, 122, 82);
    PushWheel(w, -2);
    std::vector<MSG> posted = TakePosted();
    ASSERT_EQ(6u, posted.size());
    EXPECT_EQ(UINT(WM_MOUSEMOVE), posted[0].message);
    EXPECT_EQ(MAKELPARAM(120, 80), posted[0].lParam);
    EXPECT_EQ(UINT(WM_LBUTTONDOWN), posted[1].message);
    EXPECT_EQ(WPARAM(MK_LBUTTON), posted[1].wParam);
    EXPECT_EQ(MAKELPARAM(121, 81), posted[1].lParam);
    EXPECT_EQ(UINT(WM_RBUTTONDOWN), posted[2].message);
    EXPECT_EQ(WPARAM(MK_LBUTTON | MK_RBUTTON), posted[2].wParam);
    EXPECT_EQ(UINT(WM_LBUTTONUP), posted[3].message);
    EXPECT_EQ(WPARAM(MK_RBUTTON), posted[3].wParam);
    EXPECT_EQ(UINT(WM_RBUTTONUP), posted[4].message);
    EXPECT_EQ(UINT(WM_MOUSEWHEEL), posted[5].message);
    EXPECT_EQ(-240, GET_WHEEL_DELTA_WPARAM(posted[5].wParam));
    // The wheel's position is on the screen.
    POINT screen{122, 82};
    ClientToScreen(w, &screen);
    EXPECT_EQ(MAKELPARAM(screen.x, screen.y), posted[5].lParam);
    POINT cursor;
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(screen.x, cursor.x);
    EXPECT_EQ(screen.y, cursor.y);
    EXPECT_EQ(screen.x, posted[5].pt.x);
    EXPECT_EQ(122, PointerPosition().x);
    EXPECT_EQ(82, PointerPosition().y);
    EXPECT_EQ(w, PointerWindow());
    EXPECT_EQ(0u, MouseButtons());
}

TEST_F(InputHubTest, PointerOfAFullScreenWindowIsInBackBufferPixels)
{
    HWND w = CreateShown(WS_POPUP);
    SetBackBufferSize(w, 1024, 768);
    PushWindowEvent(w, SDL_WINDOWEVENT_SIZE_CHANGED, 2048, 1536);
    PushButton(w, SDL_BUTTON_MIDDLE, true, 400, 300);
    std::vector<MSG> posted = TakePosted();
    ASSERT_EQ(2u, posted.size());
    EXPECT_EQ(UINT(WM_MBUTTONDOWN), posted[1].message);
    EXPECT_EQ(MAKELPARAM(200, 150), posted[1].lParam);
    EXPECT_EQ(4u, MouseButtons());
    PushButton(w, SDL_BUTTON_MIDDLE, false, 400, 300);
    TakePosted();
}

TEST_F(InputHubTest, ListenersHearRawInputAndActivation)
{
    Listener listener;
    AddInputListener(&listener);
    AddInputListener(&listener);
    HWND w = CreateShown();
    PushMotion(w, 10, 10, 4, 2);
    PushButton(w, SDL_BUTTON_X1, true, 10, 10);
    PushWheel(w, 1);
    PushKey(w, SDL_SCANCODE_LEFT, true);
    PushKey(w, SDL_SCANCODE_LEFT, true, true);
    PushKey(w, SDL_SCANCODE_LEFT, false);
    PushWindowEvent(w, SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(w, SDL_WINDOWEVENT_FOCUS_GAINED);
    TakePosted();
    RemoveInputListener(&listener);
    PushWheel(w, 1);
    TakePosted();
    EXPECT_EQ((std::vector<std::string>{"active", "motion 4 2", "button 3 down", "wheel 120",
                                        "key 203 down", "key 203 up", "inactive", "active"}),
              listener.calls);
}

struct Handler : TextInputHandler {
    std::vector<std::string> calls;
    bool active = true;
    void OnFocus(HWND focused) override { calls.push_back(focused ? "focus" : "focus none"); }
    void OnTextEditing(HWND, const std::string& utf8, int start, int length) override
    {
        calls.push_back("editing " + utf8 + " " + std::to_string(start) + " " +
                        std::to_string(length));
    }
    void OnTextInput(HWND, const std::string& utf8) override { calls.push_back("text " + utf8); }
    bool TextInputActive(HWND) override { return active; }
    void OnWindowDestroyed(HWND) override { calls.push_back("destroyed"); }
};

TEST_F(InputHubTest, TextInputHandlerTakesTextAndFocus)
{
    Handler handler;
    SetTextInputHandler(&handler);
    EXPECT_EQ(&handler, GetTextInputHandler());
    HWND w = CreateShown();
    SDL_Event e{};
    e.type = SDL_TEXTEDITING;
    e.edit.windowID = SdlId(w);
    std::strcpy(e.edit.text, "zh");
    e.edit.start = 2;
    e.edit.length = 0;
    SDL_PushEvent(&e);
    PushText(w, "ok");
    // With a handler the text is its to post.
    EXPECT_TRUE(TakePosted().empty());
    // TranslateMessage asks the handler whether typed text comes through text input.
    PushKey(w, SDL_SCANCODE_Q, true);
    std::vector<MSG> key = TakePosted();
    ASSERT_EQ(1u, key.size());
    EXPECT_FALSE(TranslateMessage(&key[0]));
    handler.active = false;
    EXPECT_TRUE(TranslateMessage(&key[0]));
    EXPECT_EQ(WPARAM('q'), TakePosted().at(0).wParam);
    PushKey(w, SDL_SCANCODE_Q, false);
    TakePosted();
    DestroyWindow(w);
    SetTextInputHandler(nullptr);
    EXPECT_EQ(
        (std::vector<std::string>{"focus", "editing zh 2 0", "text ok", "destroyed", "focus none"}),
        handler.calls);
}

TEST(PostTextAsChars, PostsThreadMessagesWithoutAWindow)
{
    PostTextAsChars(nullptr, "\xE4\xB8\xAD!");
    MSG msg;
    std::vector<WPARAM> bytes;
    while (PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE))
        bytes.push_back(msg.wParam);
    EXPECT_EQ((std::vector<WPARAM>{0xD6, 0xD0, '!'}), bytes);
}

} // namespace
