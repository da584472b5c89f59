#include "window_fixture.h"

#include "support/sdl_events.h"

#include <algorithm>
#include <cstring>

namespace vexa::test {

namespace {
MessageHook hook;
} // namespace

std::vector<Received>& ReceivedMessages()
{
    static std::vector<Received> received;
    return received;
}

void SetMessageHook(MessageHook h)
{
    hook = std::move(h);
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ReceivedMessages().push_back(Received{window, message, wParam, lParam});
    LRESULT result = 0;
    if (hook && hook(window, message, wParam, lParam, result))
        return result;
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<UINT> ReceivedKinds(const std::vector<UINT>& kinds)
{
    std::vector<UINT> out;
    for (const Received& r : ReceivedMessages()) {
        if (std::find(kinds.begin(), kinds.end(), r.message) != kinds.end())
            out.push_back(r.message);
    }
    return out;
}

void WindowTest::SetUp()
{
    ReceivedMessages().clear();
    SetMessageHook(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = kClass;
    // Registered once per process; later fixtures find it there.
    if (!RegisterClassExA(&wc)) {
        ASSERT_EQ(DWORD(ERROR_CLASS_ALREADY_EXISTS), GetLastError());
    }
}

void WindowTest::TearDown()
{
    SetMessageHook(nullptr);
    for (HWND w : created_) {
        if (IsWindow(w))
            DestroyWindow(w);
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_PAINT)
            ValidateRect(msg.hwnd, nullptr);
    }
}

HWND WindowTest::Create(DWORD style, int clientWidth, int clientHeight)
{
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&r, style, FALSE);
    HWND w =
        CreateWindowExA(0, kClass, "test", style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                        r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(nullptr, w);
    created_.push_back(w);
    return w;
}

HWND WindowTest::CreateShown(DWORD style)
{
    HWND w = Create(style);
    ShowWindow(w, SW_SHOW);
    TakePosted();
    // Painted, as a program's first WM_PAINT would leave it.
    ValidateRect(w, nullptr);
    ReceivedMessages().clear();
    return w;
}

uint32_t WindowTest::SdlId(HWND window) const
{
    return SDL_GetWindowID(platform::SdlWindowOf(window));
}

void WindowTest::PushWindowEvent(HWND window, uint8_t kind, int data1, int data2)
{
    ASSERT_TRUE(PushSdlWindowEvent(window, kind, data1, data2));
}

void WindowTest::PushKey(HWND window, SDL_Scancode scancode, bool down, bool repeat, uint16_t mod)
{
    ASSERT_TRUE(PushSdlKey(window, scancode, down, repeat, mod));
}

void WindowTest::PushText(HWND window, const char* utf8)
{
    ASSERT_TRUE(PushSdlText(window, utf8));
}

std::vector<MSG> WindowTest::TakePosted()
{
    std::vector<MSG> out;
    MSG msg;
    // WM_PAINT sorts after everything posted, so stopping at it leaves nothing posted.
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_PAINT)
        out.push_back(msg);
    return out;
}

std::vector<UINT> WindowTest::TakePostedKinds()
{
    std::vector<UINT> kinds;
    for (const MSG& m : TakePosted())
        kinds.push_back(m.message);
    return kinds;
}

} // namespace vexa::test
