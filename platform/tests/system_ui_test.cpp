// Message boxes without a display, the cursor's display counter, cursors and icons,
// COM's start-up count, the keyboard layout and the screen's metrics.
#include "window_fixture.h"

#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

struct BoxCase {
    UINT type;
    int answer;
};

TEST(MessageBoxes, WithoutADisplayWritesToStderrAndAnswersTheFirstButton)
{
    ASSERT_TRUE(vexa::platform::EnsureVideo());
    const BoxCase cases[] = {
        {MB_OK | MB_ICONERROR, IDOK},
        {MB_OKCANCEL, IDOK},
        {MB_ABORTRETRYIGNORE | MB_ICONWARNING, IDABORT},
        {MB_YESNOCANCEL, IDYES},
        {MB_YESNO | MB_ICONQUESTION, IDYES},
        {MB_RETRYCANCEL, IDRETRY},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.type);
        testing::internal::CaptureStderr();
        EXPECT_EQ(c.answer, MessageBoxA(nullptr, "装载失败", "VexaTessel", c.type));
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ("VexaTessel: \xE8\xA3\x85\xE8\xBD\xBD\xE5\xA4\xB1\xE8\xB4\xA5\n", err);
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, nullptr, nullptr, MB_OK));
    testing::internal::GetCapturedStderr();
}

TEST(ShowCursor, CountsShowsAndHides)
{
    int base = ShowCursor(TRUE) - 1;
    EXPECT_EQ(base, ShowCursor(FALSE));
    EXPECT_EQ(base - 1, ShowCursor(FALSE));
    EXPECT_EQ(base - 2, ShowCursor(FALSE));
    EXPECT_EQ(base - 1, ShowCursor(TRUE));
    EXPECT_EQ(base, ShowCursor(TRUE));
}

TEST(ShowCursor, StartsAtZeroAndHidesBelowIt)
{
    ASSERT_TRUE(vexa::platform::EnsureVideo());
    EXPECT_EQ(-1, ShowCursor(FALSE));
    EXPECT_EQ(SDL_DISABLE, SDL_ShowCursor(SDL_QUERY));
    EXPECT_EQ(0, ShowCursor(TRUE));
    EXPECT_EQ(SDL_ENABLE, SDL_ShowCursor(SDL_QUERY));
}

TEST(Cursor, ArrowLoadsAndSetCursorReturnsThePrevious)
{
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(nullptr, arrow);
    EXPECT_EQ(arrow, LoadCursorA(nullptr, IDC_ARROW));
    HCURSOR before = SetCursor(arrow);
    EXPECT_EQ(arrow, SetCursor(before));
    EXPECT_EQ(nullptr, LoadCursorA(nullptr, MAKEINTRESOURCE(5)));
}

std::string ProgramDirectory()
{
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    std::string exe(path, size_t(n > 0 ? n : 0));
    return exe.substr(0, exe.rfind('/') + 1);
}

TEST(Icon, LoadsABitmapBesideTheProgram)
{
    EXPECT_NE(nullptr, LoadIconA(nullptr, IDI_APPLICATION));
    // Resource 4711 does not exist; a broken one must not load either.
    EXPECT_EQ(nullptr, LoadIconA(nullptr, MAKEINTRESOURCE(4711)));
    std::string broken = ProgramDirectory() + "icon4712.bmp";
    std::ofstream(broken) << "not a bitmap";
    EXPECT_EQ(nullptr, LoadIconA(nullptr, MAKEINTRESOURCE(4712)));
    std::remove(broken.c_str());

    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, 16, 16, 32, SDL_PIXELFORMAT_RGBA32);
    ASSERT_NE(nullptr, picture);
    std::string good = ProgramDirectory() + "icon4713.bmp";
    ASSERT_EQ(0, SDL_SaveBMP(picture, good.c_str()));
    SDL_FreeSurface(picture);
    HICON icon = LoadIconA(reinterpret_cast<HINSTANCE>(1), MAKEINTRESOURCE(4713));
    // A shared icon: the same resource gives the same handle, loaded once.
    EXPECT_EQ(icon, LoadIconA(reinterpret_cast<HINSTANCE>(1), MAKEINTRESOURCE(4713)));
    std::remove(good.c_str());
    ASSERT_NE(nullptr, icon);

    // A class with it gives its windows the icon; creating one must simply work.
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hIcon = icon;
    wc.lpszClassName = "VexaIconClass";
    ASSERT_NE(0, RegisterClassExA(&wc));
    HWND w = CreateWindowExA(0, "VexaIconClass", "icon", WS_CAPTION, 0, 0, 100, 100, nullptr,
                             nullptr, nullptr, nullptr);
    EXPECT_NE(nullptr, w);
    DestroyWindow(w);
}

TEST(Com, InitialisationIsCountedPerProcess)
{
    EXPECT_EQ(S_OK, CoInitialize(nullptr));
    EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CoUninitialize();
    EXPECT_EQ(S_FALSE, CoInitialize(nullptr));
    CoUninitialize();
    CoUninitialize();
    CoUninitialize(); // one too many is ignored
    EXPECT_EQ(S_OK, CoInitialize(nullptr));
    CoUninitialize();
    EXPECT_EQ(0u, IID_IUnknown.Data1);
    EXPECT_EQ(0xC0, IID_IUnknown.Data4[0]);
    EXPECT_EQ(0x46, IID_IUnknown.Data4[7]);
}

TEST(SystemMetrics, ScreenSizeIsTheDesktopAndLayoutIsUs)
{
    SDL_DisplayMode mode;
    ASSERT_TRUE(vexa::platform::EnsureVideo());
    ASSERT_EQ(0, SDL_GetDesktopDisplayMode(0, &mode));
    EXPECT_EQ(mode.w, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(mode.h, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(0, GetSystemMetrics(12345));
    EXPECT_EQ(reinterpret_cast<HKL>(uintptr_t(0x04090409)), GetKeyboardLayout(0));
}

} // namespace
