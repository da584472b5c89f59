// The thread message queue: posting, peeking with filters, WM_QUIT's place, WM_PAINT's
// generation and pacing, and the window events the pump turns into messages.
#include "window_fixture.h"

#include <windows.h>

#include <algorithm>
#include <csignal>

namespace {

using vexa::test::ReceivedKinds;
using vexa::test::ReceivedMessages;
using vexa::test::WindowTest;

class MessageTest : public WindowTest {};

TEST_F(MessageTest, PeekWithoutRemovingLeavesTheMessage)
{
    HWND w = Create(WS_CAPTION);
    ASSERT_TRUE(PostMessageA(w, WM_USER + 1, 11, 22));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(UINT(WM_USER + 1), msg.message);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(w, msg.hwnd);
    EXPECT_EQ(WPARAM(11), msg.wParam);
    EXPECT_EQ(LPARAM(22), msg.lParam);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageTest, FiltersSelectByWindowAndRange)
{
    HWND a = Create(WS_CAPTION);
    HWND b = Create(WS_CAPTION);
    PostMessageA(a, WM_USER + 1, 0, 0);
    PostMessageA(b, WM_USER + 2, 0, 0);
    PostMessageA(nullptr, WM_USER + 3, 0, 0);
    PostMessageA(a, WM_USER + 4, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, b, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_USER + 2), msg.message);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 3, WM_USER + 4, PM_REMOVE));
    EXPECT_EQ(UINT(WM_USER + 3), msg.message);
    EXPECT_EQ(nullptr, msg.hwnd);
    EXPECT_FALSE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, a, WM_USER + 4, WM_USER + 4, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_USER + 1), msg.message);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageTest, QuitComesAfterEverythingPosted)
{
    HWND w = Create(WS_CAPTION);
    PostMessageA(w, WM_USER, 0, 0);
    PostQuitMessage(3);
    PostMessageA(w, WM_USER + 1, 0, 0);
    MSG msg;
    ASSERT_EQ(TRUE, GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(UINT(WM_USER), msg.message);
    ASSERT_EQ(TRUE, GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(UINT(WM_USER + 1), msg.message);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(UINT(WM_QUIT), msg.message);
    EXPECT_EQ(FALSE, GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(UINT(WM_QUIT), msg.message);
    EXPECT_EQ(WPARAM(3), msg.wParam);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageTest, SendCallsTheProcedureAndDispatchReturnsItsResult)
{
    HWND w = Create(WS_CAPTION);
    vexa::test::SetMessageHook([](HWND, UINT m, WPARAM wp, LPARAM, LRESULT& r) {
        if (m != WM_USER)
            return false;
        r = LRESULT(wp * 2);
        return true;
    });
    EXPECT_EQ(42, SendMessageA(w, WM_USER, 21, 0));
    PostMessageA(w, WM_USER, 5, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(10, DispatchMessageA(&msg));
    EXPECT_EQ(msg.time, GetMessageTime());
}

TEST_F(MessageTest, PaintWaitsForAnEmptyQueueAndUntilValidated)
{
    HWND w = CreateShown();
    ASSERT_TRUE(InvalidateRect(w, nullptr, TRUE));
    PostMessageA(w, WM_USER, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_USER), msg.message);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(UINT(WM_PAINT), msg.message);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_PAINT), msg.message);
    EXPECT_EQ(w, msg.hwnd);
    // Not validated: the next one waits a display refresh.
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    RECT update;
    EXPECT_TRUE(GetUpdateRect(w, &update, FALSE));
    // The default procedure validates through BeginPaint and EndPaint.
    EXPECT_EQ(0, DispatchMessageA(&msg));
    EXPECT_FALSE(GetUpdateRect(w, &update, FALSE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    // Invalidated again after validation, it paints at once.
    InvalidateRect(w, nullptr, FALSE);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_PAINT), msg.message);
}

TEST_F(MessageTest, UnvalidatedPaintComesBackAfterARefresh)
{
    HWND w = CreateShown();
    InvalidateRect(w, nullptr, FALSE);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_PAINT), msg.message);
    // GetMessage waits for the paced repaint rather than failing or spinning.
    ASSERT_EQ(TRUE, GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(UINT(WM_PAINT), msg.message);
    ValidateRect(w, nullptr);
}

TEST_F(MessageTest, InvalidateAndValidateKeepTheUpdateRectangle)
{
    HWND w = CreateShown();
    ValidateRect(w, nullptr);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(w, &update, FALSE));
    RECT a{10, 10, 20, 20};
    RECT b{30, 5, 40, 15};
    InvalidateRect(w, &a, FALSE);
    InvalidateRect(w, &b, FALSE);
    ASSERT_TRUE(GetUpdateRect(w, &update, FALSE));
    EXPECT_EQ(10, update.left);
    EXPECT_EQ(5, update.top);
    EXPECT_EQ(40, update.right);
    EXPECT_EQ(20, update.bottom);
    // Validating a piece of it leaves it pending; covering it empties it.
    ValidateRect(w, &a);
    EXPECT_TRUE(GetUpdateRect(w, &update, FALSE));
    RECT all{0, 0, 900, 675};
    ValidateRect(w, &all);
    EXPECT_FALSE(GetUpdateRect(w, &update, FALSE));
    // UpdateWindow paints only a pending region, and at once.
    ReceivedMessages().clear();
    UpdateWindow(w);
    EXPECT_TRUE(ReceivedKinds({WM_PAINT}).empty());
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
    EXPECT_EQ(1u, ReceivedKinds({WM_PAINT}).size());
    EXPECT_FALSE(GetUpdateRect(w, &update, FALSE));
    // The system asking for a repaint invalidates everything.
    PushWindowEvent(w, SDL_WINDOWEVENT_EXPOSED);
    EXPECT_TRUE(TakePosted().empty());
    ASSERT_TRUE(GetUpdateRect(w, &update, FALSE));
    EXPECT_EQ(900, update.right);
}

struct WindowEventCase {
    const char* name;
    uint8_t event;
    int data1, data2;
    std::vector<UINT> posted;
};

TEST_F(MessageTest, WindowEventsBecomeMessages)
{
    const WindowEventCase cases[] = {
        {"close", SDL_WINDOWEVENT_CLOSE, 0, 0, {WM_CLOSE}},
        {"focus lost",
         SDL_WINDOWEVENT_FOCUS_LOST,
         0,
         0,
         {WM_KILLFOCUS, WM_ACTIVATE, WM_ACTIVATEAPP}},
        {"minimized", SDL_WINDOWEVENT_MINIMIZED, 0, 0, {WM_SIZE}},
        {"maximized", SDL_WINDOWEVENT_MAXIMIZED, 0, 0, {WM_SIZE}},
        {"size changed", SDL_WINDOWEVENT_SIZE_CHANGED, 300, 200, {WM_ENTERSIZEMOVE, WM_SIZE}},
        {"moved", SDL_WINDOWEVENT_MOVED, 33, 44, {WM_ENTERSIZEMOVE, WM_MOVE}},
        {"size unchanged", SDL_WINDOWEVENT_SIZE_CHANGED, 900, 675, {}},
    };
    for (const WindowEventCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND w = CreateShown();
        PushWindowEvent(w, c.event, c.data1, c.data2);
        std::vector<MSG> posted = TakePosted();
        std::vector<UINT> kinds;
        for (const MSG& m : posted)
            kinds.push_back(m.message);
        EXPECT_EQ(c.posted, kinds);
        for (const MSG& m : posted)
            EXPECT_EQ(w, m.hwnd);
        DestroyWindow(w);
    }
}

// SIGTERM reaches SDL as SDL_QUIT: the program's loop sees WM_QUIT and ends cleanly,
// while closing its last window stays a WM_CLOSE it may answer.
TEST_F(MessageTest, ATerminationRequestPostsQuitAndAClosedLastWindowDoesNot)
{
    HWND w = CreateShown();
    PushWindowEvent(w, SDL_WINDOWEVENT_CLOSE);
    std::vector<MSG> closed = TakePosted();
    ASSERT_EQ(1u, closed.size());
    EXPECT_EQ(UINT(WM_CLOSE), closed[0].message);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

    raise(SIGTERM);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_QUIT), msg.message);
}

TEST_F(MessageTest, FocusChangesTrackTheApplicationsActivation)
{
    HWND w = CreateShown();
    PushWindowEvent(w, SDL_WINDOWEVENT_FOCUS_LOST);
    std::vector<MSG> lost = TakePosted();
    ASSERT_EQ(3u, lost.size());
    EXPECT_EQ(WPARAM(WA_INACTIVE), lost[1].wParam);
    EXPECT_EQ(WPARAM(FALSE), lost[2].wParam);
    EXPECT_FALSE(vexa::platform::IsApplicationActive());
    EXPECT_EQ(nullptr, GetFocus());
    EXPECT_EQ(nullptr, GetActiveWindow());

    PushWindowEvent(w, SDL_WINDOWEVENT_FOCUS_GAINED);
    std::vector<MSG> gained = TakePosted();
    std::vector<UINT> kinds;
    for (const MSG& m : gained)
        kinds.push_back(m.message);
    EXPECT_EQ((std::vector<UINT>{WM_ACTIVATEAPP, WM_ACTIVATE, WM_SETFOCUS}), kinds);
    EXPECT_EQ(WPARAM(TRUE), gained[0].wParam);
    EXPECT_EQ(w, GetFocus());
    // Already active: a second gain changes nothing.
    PushWindowEvent(w, SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_TRUE(TakePosted().empty());
}

TEST_F(MessageTest, MinimiseAndRestoreReportSizes)
{
    HWND w = CreateShown();
    PushWindowEvent(w, SDL_WINDOWEVENT_MINIMIZED);
    PushWindowEvent(w, SDL_WINDOWEVENT_MINIMIZED);
    std::vector<MSG> posted = TakePosted();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(WPARAM(SIZE_MINIMIZED), posted[0].wParam);
    EXPECT_EQ(0, posted[0].lParam);
    EXPECT_TRUE(IsIconic(w));
    PushWindowEvent(w, SDL_WINDOWEVENT_RESTORED);
    posted = TakePosted();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(WPARAM(SIZE_RESTORED), posted[0].wParam);
    EXPECT_EQ(MAKELPARAM(900, 675), posted[0].lParam);
}

TEST_F(MessageTest, UserResizeIsBracketedByEnterAndExitSizeMove)
{
    HWND w = CreateShown(WS_OVERLAPPEDWINDOW);
    PushWindowEvent(w, SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600);
    PushWindowEvent(w, SDL_WINDOWEVENT_SIZE_CHANGED, 810, 610);
    std::vector<MSG> got;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_PAINT) {
            ValidateRect(w, nullptr);
            continue;
        }
        got.push_back(msg);
        if (msg.message == WM_EXITSIZEMOVE)
            break;
    }
    std::vector<UINT> kinds;
    for (const MSG& m : got)
        kinds.push_back(m.message);
    EXPECT_EQ((std::vector<UINT>{WM_ENTERSIZEMOVE, WM_SIZE, WM_SIZE, WM_EXITSIZEMOVE}), kinds);
    EXPECT_EQ(MAKELPARAM(810, 610), got[2].lParam);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(810, client.right);
    EXPECT_EQ(610, client.bottom);
    // The new size invalidated the whole client area.
    RECT update;
    InvalidateRect(w, nullptr, FALSE);
    ASSERT_TRUE(GetUpdateRect(w, &update, FALSE));
    EXPECT_EQ(810, update.right);
}

TEST_F(MessageTest, SizeReportedAfterAMaximiseIsNoDrag)
{
    HWND w = CreateShown(WS_OVERLAPPEDWINDOW);
    PushWindowEvent(w, SDL_WINDOWEVENT_MAXIMIZED);
    PushWindowEvent(w, SDL_WINDOWEVENT_SIZE_CHANGED, 1000, 700);
    std::vector<MSG> posted = TakePosted();
    ASSERT_EQ(2u, posted.size());
    EXPECT_EQ(UINT(WM_SIZE), posted[0].message);
    EXPECT_EQ(WPARAM(SIZE_MAXIMIZED), posted[0].wParam);
    EXPECT_EQ(UINT(WM_SIZE), posted[1].message);
    EXPECT_EQ(WPARAM(SIZE_MAXIMIZED), posted[1].wParam);
    EXPECT_EQ(MAKELPARAM(1000, 700), posted[1].lParam);
}

TEST_F(MessageTest, WaitMessageWakesForTheEndOfAResize)
{
    HWND w = CreateShown(WS_OVERLAPPEDWINDOW);
    ValidateRect(w, nullptr);
    PushWindowEvent(w, SDL_WINDOWEVENT_SIZE_CHANGED, 700, 500);
    std::vector<UINT> kinds = TakePostedKinds();
    ValidateRect(w, nullptr);
    EXPECT_EQ((std::vector<UINT>{WM_ENTERSIZEMOVE, WM_SIZE}), kinds);
    // Nothing more arrives from SDL; WaitMessage still returns for the settled resize.
    ASSERT_TRUE(WaitMessage());
    EXPECT_EQ((std::vector<UINT>{WM_EXITSIZEMOVE}), TakePostedKinds());
}

TEST_F(MessageTest, MinimisedWindowsAreNotPainted)
{
    HWND w = CreateShown();
    ShowWindow(w, SW_MINIMIZE);
    InvalidateRect(w, nullptr, FALSE);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    ShowWindow(w, SW_RESTORE);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_PAINT), msg.message);
}

TEST_F(MessageTest, GetMessageRefusesAnUnknownWindowFilter)
{
    HWND w = Create(WS_CAPTION);
    DestroyWindow(w);
    MSG msg;
    SetLastError(0);
    EXPECT_EQ(-1, GetMessageA(&msg, w, 0, 0));
    EXPECT_EQ(DWORD(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
    EXPECT_FALSE(PeekMessageA(&msg, w, 0, 0, PM_REMOVE));
}

TEST_F(MessageTest, AltF4ClosesThroughTheDefaultProcedure)
{
    HWND w = CreateShown();
    PushKey(w, SDL_SCANCODE_LALT, true);
    PushKey(w, SDL_SCANCODE_F4, true);
    std::vector<MSG> keys = TakePosted();
    ASSERT_EQ(2u, keys.size());
    EXPECT_EQ(UINT(WM_SYSKEYDOWN), keys[1].message);
    DispatchMessageA(&keys[0]);
    EXPECT_TRUE(TakePosted().empty());
    DispatchMessageA(&keys[1]);
    std::vector<MSG> close = TakePosted();
    ASSERT_EQ(1u, close.size());
    EXPECT_EQ(UINT(WM_CLOSE), close[0].message);
    PushKey(w, SDL_SCANCODE_F4, false);
    PushKey(w, SDL_SCANCODE_LALT, false);
    TakePosted();
}

TEST_F(MessageTest, DefaultProcedureClosesByDestroying)
{
    HWND w = CreateShown();
    PushWindowEvent(w, SDL_WINDOWEVENT_CLOSE);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    ASSERT_EQ(UINT(WM_CLOSE), msg.message);
    DispatchMessageA(&msg);
    EXPECT_FALSE(IsWindow(w));
}

} // namespace
