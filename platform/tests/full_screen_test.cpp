// Full-screen (WS_POPUP) windows: the back buffer is shown scaled to fit and letterboxed,
// and client coordinates are back-buffer pixels.
#include "window_fixture.h"

#include <windows.h>

namespace {

using vexa::platform::SetBackBufferSize;
using vexa::platform::WindowPixelToClient;
using vexa::test::WindowTest;

class FullScreenTest : public WindowTest {};

TEST_F(FullScreenTest, PopupIsBorderlessFullScreenOfTheDesktop)
{
    HWND w = Create(WS_POPUP, 1024, 768);
    Uint32 flags = SDL_GetWindowFlags(vexa::platform::SdlWindowOf(w));
    EXPECT_EQ(Uint32(SDL_WINDOW_FULLSCREEN_DESKTOP), flags & SDL_WINDOW_FULLSCREEN_DESKTOP);
    RECT client;
    ASSERT_TRUE(GetClientRect(w, &client));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), client.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), client.bottom);
}

struct LetterboxCase {
    int windowWidth, windowHeight; // the SDL window's pixels
    POINT pixel;                   // a point in them
    POINT client;                  // where it lands in the 1024 x 768 back buffer
};

TEST_F(FullScreenTest, WindowPixelsMapIntoTheLetterboxedBackBuffer)
{
    const LetterboxCase cases[] = {
        // 1280 x 720: scale 0.9375, bars of 160 pixels left and right.
        {1280, 720, {160, 0}, {0, 0}},
        {1280, 720, {640, 360}, {512, 384}},
        {1280, 720, {1119, 719}, {1022, 766}},
        {1280, 720, {100, 10}, {-64, 10}},
        // 1024 x 1000: scale 1, bars of 116 pixels above and below.
        {1024, 1000, {0, 116}, {0, 0}},
        {1024, 1000, {512, 500}, {512, 384}},
        {1024, 1000, {10, 50}, {10, -66}},
        // 2048 x 1536: scale 2, no bars.
        {2048, 1536, {2047, 1535}, {1023, 767}},
    };
    HWND w = CreateShown(WS_POPUP);
    SetBackBufferSize(w, 1024, 768);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(1024, client.right);
    EXPECT_EQ(768, client.bottom);
    int lastWidth = 0;
    int lastHeight = 0;
    for (const LetterboxCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.windowWidth << "x" << c.windowHeight << " at "
                                        << c.pixel.x << "," << c.pixel.y);
        PushWindowEvent(w, SDL_WINDOWEVENT_SIZE_CHANGED, c.windowWidth, c.windowHeight);
        std::vector<MSG> posted = TakePosted();
        bool changed = c.windowWidth != lastWidth || c.windowHeight != lastHeight;
        lastWidth = c.windowWidth;
        lastHeight = c.windowHeight;
        // A full-screen window reports its back buffer's size, and is not being dragged.
        ASSERT_EQ(changed ? 1u : 0u, posted.size());
        if (changed) {
            EXPECT_EQ(UINT(WM_SIZE), posted[0].message);
            EXPECT_EQ(MAKELPARAM(1024, 768), posted[0].lParam);
        }
        POINT mapped = WindowPixelToClient(w, c.pixel.x, c.pixel.y);
        EXPECT_EQ(c.client.x, mapped.x);
        EXPECT_EQ(c.client.y, mapped.y);
        POINT screen = c.pixel;
        RECT window;
        GetWindowRect(w, &window);
        screen.x += window.left;
        screen.y += window.top;
        POINT viaScreen = screen;
        ASSERT_TRUE(ScreenToClient(w, &viaScreen));
        EXPECT_EQ(c.client.x, viaScreen.x);
        EXPECT_EQ(c.client.y, viaScreen.y);
        ASSERT_TRUE(ClientToScreen(w, &viaScreen));
        EXPECT_NEAR(screen.x, viaScreen.x, 1);
        EXPECT_NEAR(screen.y, viaScreen.y, 1);
    }
}

TEST_F(FullScreenTest, WindowedCoordinatesAreOffsetOnly)
{
    HWND w = CreateShown(WS_CAPTION);
    POINT p{25, 40};
    ASSERT_TRUE(ClientToScreen(w, &p));
    POINT back = p;
    ASSERT_TRUE(ScreenToClient(w, &back));
    EXPECT_EQ(25, back.x);
    EXPECT_EQ(40, back.y);
    POINT mapped = WindowPixelToClient(w, 25, 40);
    EXPECT_EQ(25, mapped.x);
    EXPECT_EQ(40, mapped.y);
    // Back buffers only scale full-screen windows.
    SetBackBufferSize(w, 100, 100);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(900, client.right);
}

} // namespace
