// The one window: creation by flags, and the window procedure's handling of the messages
// the platform delivers (posted, sent, or translated from pushed SDL events).
#include "RuntimeFixture.h"

#include <sdl_events.h>

namespace {
char kClass[] = "VexaTesselTest";
char kCaption[] = "Window test";

int ClientWidth()
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    return rc.right - rc.left;
}
int ClientHeight()
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    return rc.bottom - rc.top;
}

void PushWindowEvent(Uint8 which)
{
    vexa::test::PushSdlWindowEvent(hWnd, which);
}
}  // namespace

class WindowTest : public RuntimeTest {
protected:
    void Create(DWORD flags, int width = 900, int height = 675)
    {
        kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, width, height, flags);
        ASSERT_NE(nullptr, hWnd);
    }

    // The command codes now queued, in order (redraws included).
    static std::vector<int> Commands()
    {
        std::vector<int> codes;
        for (const VlxMessage& e : TakeEvents())
            if (e.type == VLX_COMMAND)
                codes.push_back(e.x);
        return codes;
    }

    // A skinned program with its objects loaded and a main loop running.
    void StartSkinned()
    {
        kvApp = new RecordingApp(&log);
        new RecordingGraphics(&log);
        new RecordingInput(&log);
        Create(KVWIN_SKINNED | KVWIN_WINDOWED | KVWIN_SYSMOUSE | KVWIN_REALTIME, 640, 480);
        kvInitObjects();
        bQuit = true;
        Pump();
        TakeEvents();
        log.clear();
    }
};

TEST_F(WindowTest, FixedSizeSkinnedWindowHasExactlyTheAskedClientArea)
{
    Create(0x19);
    EXPECT_TRUE(bWindowed);
    EXPECT_TRUE(bSkinnedApp);
    EXPECT_TRUE(bSysMouse);
    EXPECT_FALSE(bMouseVis);
    EXPECT_FALSE(bNoRealTime);  // bit 0x10 turns continuous frames back on
    EXPECT_EQ(900, ClientWidth());
    EXPECT_EQ(675, ClientHeight());
    EXPECT_EQ(900, rcWindowClient.right - rcWindowClient.left);
    EXPECT_EQ(675, rcWindowClient.bottom - rcWindowClient.top);
    EXPECT_EQ(900, ScreenX);
    EXPECT_EQ(675, ScreenY);
    // Showing the first window makes the program active, so frames run without a
    // window manager's focus event.
    EXPECT_TRUE(bActive);
    EXPECT_EQ(hWnd, GetFocus());
}

TEST_F(WindowTest, SkinnedFlagAloneRedrawsOnlyOnEvents)
{
    Create(KVWIN_SKINNED, 800, 600);
    EXPECT_TRUE(bNoRealTime);
    EXPECT_TRUE(bWindowed);
    EXPECT_EQ(800, ClientWidth());
    EXPECT_EQ(600, ClientHeight());
}

TEST_F(WindowTest, FlagsZeroGiveAFullScreenPopupWithoutSystemCursor)
{
    Create(0, 1024, 768);
    EXPECT_FALSE(bWindowed);
    EXPECT_FALSE(bSysMouse);
    EXPECT_FALSE(bSkinnedApp);
    EXPECT_TRUE(bMouseVis);
    EXPECT_EQ(1024, ScreenX);
    EXPECT_EQ(768, ScreenY);
    EXPECT_TRUE(IsWindowVisible(hWnd));
    EXPECT_TRUE(bActive);
}

TEST_F(WindowTest, SubmittedWindowIsAdoptedAsSkinned)
{
    Create(KVWIN_WINDOWED | KVWIN_FIXEDSIZE, 320, 200);
    HWND window = hWnd;
    bSkinnedApp = false;
    bMouseVis = true;
    kvSubmitWindow(window);
    EXPECT_EQ(window, hWnd);
    EXPECT_TRUE(bSkinnedApp);
    EXPECT_TRUE(bSysMouse);
    EXPECT_FALSE(bMouseVis);
    EXPECT_EQ(320, ScreenX);
    EXPECT_EQ(200, ScreenY);
}

TEST_F(WindowTest, DestroyWindowClearsTheHandle)
{
    Create(KVWIN_WINDOWED);
    HWND window = hWnd;
    kvDestroyWindow();
    EXPECT_EQ(nullptr, hWnd);
    EXPECT_FALSE(IsWindow(window));
    // A window the default close handling already destroyed is not destroyed twice.
    kvDestroyWindow();
}

TEST_F(WindowTest, MinimisingChangesNothingAndRestoringTheSameSizeOnlyRedraws)
{
    StartSkinned();
    SendMessageA(hWnd, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(Commands().empty());

    SendMessageA(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(std::vector<int>{VLX_CMD_REDRAW}, Commands());
}

TEST_F(WindowTest, ResizingASkinnedWindowRebuildsTheDeviceObjects)
{
    StartSkinned();
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);  // no size change yet
    log.clear();
    TakeEvents();

    RECT outer = {0, 0, 700, 500};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(hWnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ((CallLog{"app.DestroyObjs", "gi.Resize 700x500", "app.LoadObjs"}), log);
    EXPECT_EQ(700, ScreenX);
    EXPECT_EQ(500, ScreenY);
    EXPECT_EQ((std::vector<int>{VLX_CMD_RESIZED, VLX_CMD_REDRAW}), Commands());
}

TEST_F(WindowTest, AFixedSizeProgramIgnoresSizeMessages)
{
    kvApp = new RecordingApp(&log);
    new RecordingGraphics(&log);
    new RecordingInput(&log);
    Create(KVWIN_WINDOWED | KVWIN_FIXEDSIZE, 640, 480);
    kvInitObjects();
    log.clear();
    TakeEvents();
    SendMessageA(hWnd, WM_EXITSIZEMOVE, 0, 0);
    SendMessageA(hWnd, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(800, 600));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(Commands().empty());
}

TEST_F(WindowTest, UserDragPausesFramesUntilItEnds)
{
    StartSkinned();
    SendMessageA(hWnd, WM_ENTERSIZEMOVE, 0, 0);
    EXPECT_FALSE(bActive);
    // Sizes reported during the drag wait for its end.
    SendMessageA(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));
    EXPECT_TRUE(Commands().empty());
    SendMessageA(hWnd, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_TRUE(bActive);
    EXPECT_EQ(std::vector<int>{VLX_CMD_REDRAW}, Commands());
}

TEST_F(WindowTest, CloseUnderTheGuiLoopOnlyQueuesTheCloseRequest)
{
    StartSkinned();
    bZebHandle = true;
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    Pump();
    EXPECT_TRUE(IsWindow(hWnd));
    EXPECT_EQ(std::vector<int>{VLX_CMD_CLOSE}, Commands());
    EXPECT_NE(nullptr, kvApp);
}

TEST_F(WindowTest, CloseUnderTheRuntimeLoopReleasesAndQuits)
{
    StartSkinned();
    HWND window = hWnd;
    quitSeen = false;
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    Pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(quitSeen);
    EXPECT_EQ(0, quitCode);
    EXPECT_EQ((CallLog{"app.DestroyObjs", "app.delete", "gi.delete", "ii.delete"}), log);
    EXPECT_EQ(nullptr, kvApp);
    EXPECT_EQ(nullptr, kvgi);
    EXPECT_EQ(nullptr, kvii);
    EXPECT_FALSE(bQuit);
}

TEST_F(WindowTest, ActivationFollowsTheFocusAndRestoresALostDevice)
{
    StartSkinned();
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    Pump();
    EXPECT_FALSE(bActive);

    // Not lost: activation asks, and touches nothing else.
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    Pump();
    EXPECT_TRUE(bActive);
    EXPECT_EQ(CallLog{"gi.TestLost"}, log);

    log.clear();
    static_cast<RecordingGraphics*>(kvgi)->lost = true;
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    Pump();
    EXPECT_EQ((CallLog{"gi.TestLost", "app.DestroyObjs", "gi.RestoreGraph", "app.LoadObjs"}), log);
}

TEST_F(WindowTest, KeysBecomeKeyEventsWithDirectInputCodes)
{
    Create(KVWIN_WINDOWED);
    Pump();
    TakeEvents();
    struct Case {
        SDL_Scancode scancode;
        bool repeat;
        Uint16 mod;
        int32_t expected;  // -1: no event
    } cases[] = {
        {SDL_SCANCODE_LEFT, false, 0, 0xCB},
        {SDL_SCANCODE_A, false, 0, 0x1E},
        {SDL_SCANCODE_A, true, 0, 0x401E},  // auto-repeat carries the previous state
        {SDL_SCANCODE_ESCAPE, false, 0, 0x01},
        {SDL_SCANCODE_F11, false, 0, 0x57},
        {SDL_SCANCODE_X, false, KMOD_LALT, -1},  // a system key makes no event
    };
    for (const Case& c : cases) {
        vexa::test::PushSdlKey(hWnd, c.scancode, true, c.repeat, c.mod);
        vexa::test::PushSdlKey(hWnd, c.scancode, false, false, c.mod);
        Pump();
        std::vector<VlxMessage> events = TakeEvents();
        std::vector<int32_t> keyCodes;
        for (const VlxMessage& e : events)
            if (e.type == VLX_KEY)
                keyCodes.push_back(e.x);
        if (c.expected < 0)
            EXPECT_TRUE(keyCodes.empty()) << "scancode " << c.scancode;
        else
            EXPECT_EQ(std::vector<int32_t>{c.expected}, keyCodes) << "scancode " << c.scancode;
    }
    ClearAsciiBuf();
}

TEST_F(WindowTest, TypedTextFillsTheCharacterBuffer)
{
    Create(KVWIN_WINDOWED);
    Pump();
    vexa::test::PushSdlText(hWnd, "ab");
    vexa::test::PushSdlText(hWnd, u8"中");  // SDL speaks UTF-8
    Pump();
    std::string typed;
    char c;
    while (LoadAsciiChar(&c))
        typed += c;
    EXPECT_EQ(std::string("ab\xD6\xD0"), typed);  // GBK bytes, lead byte first
}

TEST_F(WindowTest, ControlCharactersAreNotBuffered)
{
    Create(KVWIN_WINDOWED);
    for (WPARAM code : {8, 9, 10, 13, 27})
        SendMessageA(hWnd, WM_CHAR, code, 0);
    SendMessageA(hWnd, WM_CHAR, 'z', 0);
    char c = 0;
    ASSERT_TRUE(LoadAsciiChar(&c));
    EXPECT_EQ('z', c);
    EXPECT_FALSE(LoadAsciiChar(&c));
}

TEST_F(WindowTest, MinimumTrackingSizeIsOneHundred)
{
    Create(KVWIN_WINDOWED);
    MINMAXINFO info = {};
    EXPECT_EQ(0, SendMessageA(hWnd, WM_GETMINMAXINFO, 0, LPARAM(&info)));
    EXPECT_EQ(100, info.ptMinTrackSize.x);
    EXPECT_EQ(100, info.ptMinTrackSize.y);
}

TEST_F(WindowTest, BackgroundPaintsDrawFramesWithoutValidating)
{
    StartSkinned();
    AppPaint = [] {
        if (kvApp)
            kvApp->MainLoop();
    };
    RecordingApp* app = static_cast<RecordingApp*>(kvApp);
    SendMessageA(hWnd, WM_ACTIVATEAPP, FALSE, 0);
    InvalidateRect(hWnd, nullptr, FALSE);
    SendMessageA(hWnd, WM_PAINT, 0, 0);
    SendMessageA(hWnd, WM_PAINT, 0, 0);
    EXPECT_EQ(2, app->frames);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(hWnd, &update, FALSE));  // still invalid: paints keep coming

    SendMessageA(hWnd, WM_ACTIVATEAPP, TRUE, 0);
    SendMessageA(hWnd, WM_PAINT, 0, 0);
    EXPECT_EQ(2, app->frames);
    EXPECT_FALSE(GetUpdateRect(hWnd, &update, FALSE));
}

TEST_F(WindowTest, ExceptionInsideAMessageEndsTheProgram)
{
    struct FailingGraph : RecordingGraphics {
        using RecordingGraphics::RecordingGraphics;
        void Resize(DWORD w, DWORD h) override
        {
            RecordingGraphics::Resize(w, h);
            NewException("The device could not be reset.", KVEXCEPTION_GENERAL);
        }
    };
    kvApp = new RecordingApp(&log);
    new FailingGraph(&log);
    new RecordingInput(&log);
    Create(KVWIN_SKINNED | KVWIN_WINDOWED, 640, 480);
    kvInitObjects();
    bQuit = true;
    Pump();
    log.clear();
    quitSeen = false;
    RECT outer = {0, 0, 500, 400};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    testing::internal::CaptureStderr();
    SetWindowPos(hWnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    std::string shown = testing::internal::GetCapturedStderr();
    Pump();
    EXPECT_NE(std::string::npos, shown.find("The device could not be reset."));
    EXPECT_TRUE(quitSeen);
    EXPECT_EQ(-1, quitCode);
    // The objects were already destroyed for the resize: the release does not do it again.
    EXPECT_EQ((CallLog{"app.DestroyObjs", "gi.Resize 500x400", "app.delete", "gi.delete",
                       "ii.delete"}),
              log);
    EXPECT_EQ(nullptr, kvApp);
    EXPECT_EQ(nullptr, kvgi);
}
