// Window classes, creation and destruction, showing, focus, captions and geometry, on
// SDL's offscreen driver.
#include "window_fixture.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

using vexa::test::ReceivedKinds;
using vexa::test::ReceivedMessages;
using vexa::test::SetMessageHook;
using vexa::test::WindowTest;

TEST_F(WindowTest, ClassNamesAreUniqueIgnoringCase)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "VexaUniqueClass";
    ATOM atom = RegisterClassExA(&wc);
    EXPECT_NE(0, atom);
    wc.lpszClassName = "vexauniqueCLASS";
    SetLastError(0);
    EXPECT_EQ(0, RegisterClassExA(&wc));
    EXPECT_EQ(DWORD(ERROR_CLASS_ALREADY_EXISTS), GetLastError());
    EXPECT_TRUE(UnregisterClassA("VEXAUNIQUECLASS", nullptr));
    EXPECT_FALSE(UnregisterClassA("VexaUniqueClass", nullptr));
    EXPECT_EQ(DWORD(ERROR_CLASS_DOES_NOT_EXIST), GetLastError());
    EXPECT_EQ(0, RegisterClassExA(nullptr));
}

TEST_F(WindowTest, ClassWithWindowsStaysRegistered)
{
    HWND w = Create(WS_CAPTION);
    SetLastError(0);
    EXPECT_FALSE(UnregisterClassA(kClass, nullptr));
    EXPECT_EQ(DWORD(ERROR_CLASS_HAS_WINDOWS), GetLastError());
    DestroyWindow(w);
}

TEST_F(WindowTest, UnknownClassCreatesNothing)
{
    SetLastError(0);
    EXPECT_EQ(nullptr, CreateWindowExA(0, "NoSuchClass", "x", WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, nullptr, nullptr));
    EXPECT_EQ(DWORD(ERROR_CANNOT_FIND_WND_CLASS), GetLastError());
}

TEST_F(WindowTest, CreationSendsMinMaxThenNcCreateThenCreate)
{
    const CREATESTRUCTA* seen = nullptr;
    int param = 7;
    SetMessageHook([&](HWND, UINT m, WPARAM, LPARAM l, LRESULT&) {
        if (m == WM_CREATE) {
            seen = reinterpret_cast<const CREATESTRUCTA*>(l);
            EXPECT_EQ(&param, seen->lpCreateParams);
            EXPECT_EQ(300, seen->cx);
            EXPECT_STREQ(kClass, seen->lpszClass);
        }
        return false;
    });
    HWND w = CreateWindowExA(0, kClass, "cap", WS_CAPTION, 10, 20, 300, 200, nullptr, nullptr,
                             nullptr, &param);
    created_.push_back(w);
    ASSERT_NE(nullptr, w);
    ASSERT_NE(nullptr, seen);
    std::vector<UINT> kinds;
    for (const auto& r : ReceivedMessages())
        kinds.push_back(r.message);
    EXPECT_EQ((std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE}), kinds);
    for (const auto& r : ReceivedMessages())
        EXPECT_EQ(w, r.window);
    EXPECT_FALSE(IsWindowVisible(w));
}

TEST_F(WindowTest, RefusedCreationLeavesNoWindow)
{
    struct Case {
        UINT refusing;
        LRESULT answer;
    };
    for (Case c : {Case{WM_CREATE, -1}, Case{WM_NCCREATE, FALSE}}) {
        SCOPED_TRACE(c.refusing);
        HWND during = nullptr;
        SetMessageHook([&](HWND w, UINT m, WPARAM, LPARAM, LRESULT& result) {
            if (m != c.refusing)
                return false;
            during = w;
            result = c.answer;
            return true;
        });
        EXPECT_EQ(nullptr, CreateWindowExA(0, kClass, "x", WS_CAPTION, 0, 0, 100, 100, nullptr,
                                           nullptr, nullptr, nullptr));
        ASSERT_NE(nullptr, during);
        EXPECT_FALSE(IsWindow(during));
    }
}

TEST_F(WindowTest, ClientAreaIsTheAskedSizeForFramedStyles)
{
    for (DWORD style : {DWORD(WS_CAPTION | WS_MINIMIZEBOX), DWORD(WS_OVERLAPPEDWINDOW)}) {
        SCOPED_TRACE(style);
        RECT outer{0, 0, 900, 675};
        ASSERT_TRUE(AdjustWindowRect(&outer, style, FALSE));
        EXPECT_GT(outer.right - outer.left, 900);
        EXPECT_GT(outer.bottom - outer.top, 675 + 20);
        HWND w = Create(style);
        RECT client;
        ASSERT_TRUE(GetClientRect(w, &client));
        EXPECT_EQ((RECT{0, 0, 900, 675}).right, client.right);
        EXPECT_EQ(675, client.bottom);
        EXPECT_EQ(0, client.left);
        EXPECT_EQ(0, client.top);
        RECT window;
        ASSERT_TRUE(GetWindowRect(w, &window));
        EXPECT_EQ(outer.right - outer.left, window.right - window.left);
        EXPECT_EQ(outer.bottom - outer.top, window.bottom - window.top);
        Uint32 flags = SDL_GetWindowFlags(vexa::platform::SdlWindowOf(w));
        EXPECT_EQ((style & WS_THICKFRAME) != 0, (flags & SDL_WINDOW_RESIZABLE) != 0);
    }
}

TEST_F(WindowTest, ThickFrameAndPopupFrames)
{
    RECT fixed{0, 0, 100, 100};
    RECT sizable{0, 0, 100, 100};
    RECT popup{0, 0, 100, 100};
    AdjustWindowRect(&fixed, WS_CAPTION, FALSE);
    AdjustWindowRect(&sizable, WS_CAPTION | WS_THICKFRAME, FALSE);
    AdjustWindowRect(&popup, WS_POPUP, FALSE);
    EXPECT_EQ(fixed.left - 4, sizable.left);
    EXPECT_EQ(fixed.right + 4, sizable.right);
    EXPECT_EQ(fixed.top - 4, sizable.top);
    EXPECT_EQ((RECT{0, 0, 100, 100}).right, popup.right);
    EXPECT_EQ(0, popup.left);
    EXPECT_EQ(0, popup.top);
    EXPECT_EQ(100, popup.bottom);
    EXPECT_FALSE(AdjustWindowRect(nullptr, WS_CAPTION, FALSE));
}

TEST_F(WindowTest, FirstShowActivatesTheApplication)
{
    HWND w = Create(WS_CAPTION | WS_MINIMIZEBOX);
    ReceivedMessages().clear();
    EXPECT_FALSE(ShowWindow(w, SW_SHOW));
    EXPECT_EQ(
        (std::vector<UINT>{WM_SHOWWINDOW, WM_ACTIVATEAPP, WM_ACTIVATE, WM_SETFOCUS, WM_SIZE,
                           WM_MOVE}),
        ReceivedKinds({WM_SHOWWINDOW, WM_ACTIVATEAPP, WM_ACTIVATE, WM_SETFOCUS, WM_SIZE, WM_MOVE}));
    for (const auto& r : ReceivedMessages()) {
        if (r.message == WM_ACTIVATEAPP) {
            EXPECT_EQ(WPARAM(TRUE), r.wParam);
        }
        if (r.message == WM_ACTIVATE) {
            EXPECT_EQ(WPARAM(WA_ACTIVE), r.wParam);
        }
        if (r.message == WM_SIZE) {
            EXPECT_EQ(WPARAM(SIZE_RESTORED), r.wParam);
            EXPECT_EQ(MAKELPARAM(900, 675), r.lParam);
        }
    }
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_TRUE(vexa::platform::IsApplicationActive());
    EXPECT_EQ(w, GetFocus());
    EXPECT_EQ(w, GetActiveWindow());
    EXPECT_EQ(w, GetForegroundWindow());
    RECT update;
    EXPECT_TRUE(GetUpdateRect(w, &update, FALSE));
    EXPECT_EQ(900, update.right);
    EXPECT_EQ(675, update.bottom);
    // Shown again: already visible, nothing new to activate.
    ReceivedMessages().clear();
    EXPECT_TRUE(ShowWindow(w, SW_SHOW));
    EXPECT_TRUE(ReceivedKinds({WM_ACTIVATEAPP, WM_SIZE}).empty());
}

TEST_F(WindowTest, VisibleStyleShowsAtCreation)
{
    HWND w = Create(WS_CAPTION | WS_VISIBLE);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(1u, ReceivedKinds({WM_ACTIVATEAPP}).size());
}

TEST_F(WindowTest, HideMinimiseAndRestore)
{
    HWND w = CreateShown();
    EXPECT_TRUE(ShowWindow(w, SW_MINIMIZE));
    EXPECT_TRUE(IsIconic(w));
    EXPECT_TRUE(ShowWindow(w, SW_RESTORE));
    EXPECT_FALSE(IsIconic(w));
    std::vector<WPARAM> sizes;
    for (const auto& r : ReceivedMessages()) {
        if (r.message == WM_SIZE)
            sizes.push_back(r.wParam);
    }
    EXPECT_EQ((std::vector<WPARAM>{SIZE_MINIMIZED, SIZE_RESTORED}), sizes);
    EXPECT_TRUE(ShowWindow(w, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_FALSE(ShowWindow(w, SW_HIDE));
}

TEST_F(WindowTest, DestroySendsDestroyWhileTheWindowStillExists)
{
    HWND w = CreateShown();
    bool validInDestroy = false;
    SetMessageHook([&](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == WM_DESTROY)
            validInDestroy = IsWindow(h) && vexa::platform::SdlWindowOf(h) != nullptr;
        return false;
    });
    PostMessageA(w, WM_USER, 0, 0);
    EXPECT_TRUE(DestroyWindow(w));
    EXPECT_TRUE(validInDestroy);
    EXPECT_EQ((std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}),
              ReceivedKinds({WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(nullptr, GetFocus());
    EXPECT_EQ(nullptr, GetActiveWindow());
    // Its posted message went with it.
    EXPECT_TRUE(TakePosted().empty());
    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(w));
    EXPECT_EQ(DWORD(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
}

TEST_F(WindowTest, HandlesAreNeverReused)
{
    HWND first = Create(WS_POPUP);
    DestroyWindow(first);
    HWND second = Create(WS_POPUP);
    EXPECT_NE(first, second);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(second));
}

TEST_F(WindowTest, StaleHandlesFailTheWindowsWay)
{
    HWND stale = Create(WS_CAPTION);
    DestroyWindow(stale);
    RECT r;
    POINT p{};
    char text[8];
    struct Call {
        const char* name;
        std::function<BOOL()> call;
    };
    std::vector<Call> calls = {
        {"GetClientRect", [&] { return GetClientRect(stale, &r); }},
        {"GetWindowRect", [&] { return GetWindowRect(stale, &r); }},
        {"ShowWindow", [&] { return ShowWindow(stale, SW_SHOW); }},
        {"SetWindowTextA", [&] { return SetWindowTextA(stale, "x"); }},
        {"ScreenToClient", [&] { return ScreenToClient(stale, &p); }},
        {"PostMessageA", [&] { return PostMessageA(stale, WM_USER, 0, 0); }},
        {"InvalidateRect", [&] { return InvalidateRect(stale, nullptr, FALSE); }},
        {"GetWindowTextA", [&] { return BOOL(GetWindowTextA(stale, text, 8)); }},
        {"SetWindowPos", [&] { return SetWindowPos(stale, nullptr, 0, 0, 9, 9, 0); }},
    };
    for (const Call& c : calls) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_FALSE(c.call());
        EXPECT_EQ(DWORD(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
    }
    EXPECT_EQ(0, SendMessageA(stale, WM_USER, 0, 0));
    MSG msg{};
    msg.hwnd = stale;
    msg.message = WM_USER;
    EXPECT_EQ(0, DispatchMessageA(&msg));
    EXPECT_EQ(nullptr, SetFocus(stale));
}

TEST_F(WindowTest, CaptionIsKeptInCodePage936)
{
    HWND w = Create(WS_CAPTION);
    const char* caption = "连连看"; // GBK bytes in the program
    ASSERT_TRUE(SetWindowTextA(w, caption));
    char back[32];
    EXPECT_EQ(int(std::strlen(caption)), GetWindowTextA(w, back, sizeof(back)));
    EXPECT_STREQ(caption, back);
    EXPECT_STREQ("\xE8\xBF\x9E\xE8\xBF\x9E\xE7\x9C\x8B",
                 SDL_GetWindowTitle(vexa::platform::SdlWindowOf(w)));
    EXPECT_EQ(2, GetWindowTextA(w, back, 3));
    EXPECT_EQ(0, GetWindowTextA(w, back, 0));
}

TEST_F(WindowTest, SetFocusMovesFocusBetweenWindows)
{
    HWND a = CreateShown();
    HWND b = Create(WS_CAPTION);
    ShowWindow(b, SW_SHOWNA);
    EXPECT_EQ(a, GetFocus());
    ReceivedMessages().clear();
    EXPECT_EQ(a, SetFocus(b));
    EXPECT_EQ(b, GetFocus());
    std::vector<std::pair<HWND, UINT>> focus;
    for (const auto& r : ReceivedMessages()) {
        if (r.message == WM_KILLFOCUS || r.message == WM_SETFOCUS)
            focus.emplace_back(r.window, r.message);
    }
    EXPECT_EQ((std::vector<std::pair<HWND, UINT>>{{a, WM_KILLFOCUS}, {b, WM_SETFOCUS}}), focus);
    EXPECT_EQ(b, SetFocus(b));
}

TEST_F(WindowTest, ProgrammaticResizeSendsSizeOnceAndNoSizeMove)
{
    HWND w = CreateShown(WS_OVERLAPPEDWINDOW);
    RECT outer{0, 0, 640, 480};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    ASSERT_TRUE(SetWindowPos(w, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                             SWP_NOMOVE | SWP_NOZORDER));
    ASSERT_EQ(1u, ReceivedKinds({WM_SIZE}).size());
    EXPECT_EQ(MAKELPARAM(640, 480), ReceivedMessages().back().lParam);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(640, client.right);
    // SDL's own report of the change arrives later and must not repeat it.
    PushWindowEvent(w, SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480);
    std::vector<UINT> kinds = TakePostedKinds();
    EXPECT_EQ(kinds.end(), std::find(kinds.begin(), kinds.end(), UINT(WM_SIZE)));
    EXPECT_EQ(kinds.end(), std::find(kinds.begin(), kinds.end(), UINT(WM_ENTERSIZEMOVE)));
}

} // namespace
