// Start-up and shut-down, the runtime's own main loop, the frame clock, the final
// exception handler and the IME switch, driven through the real window and message queue.
#include "MemoryStream.h"
#include "RuntimeFixture.h"

#include <imm.h>
#include <sdl_events.h>

#include <vexa/platform.h>

#include <string>

namespace {
char kClass[] = "VexaTesselRuntime";
char kCaption[] = "Runtime test";

// A debug log whose text survives the runtime deleting the stream at shut-down.
class CapturedLog : public MemoryStream {
public:
    explicit CapturedLog(std::string* text) : MemoryStream("", false, false, false), out(text) {}
    ~CapturedLog() override { *out = Text(); }
    std::string Text() const { return std::string(medium.begin(), medium.end()); }

private:
    std::string* out;
};

void PushFocus(Uint8 which)
{
    vexa::test::PushSdlWindowEvent(hWnd, which);
}
}  // namespace

TEST(RuntimeModule, KnowsItsOwnHandleFromLoading)
{
    EXPECT_NE(nullptr, hKvLib);
    EXPECT_EQ(GetModuleHandleA("KvLib.dll"), hKvLib);
    EXPECT_NE(GetModuleHandleA(nullptr), hKvLib);
}

TEST_F(RuntimeTest, StartAndShutDownTraceTheirStepsAndCloseTheLog)
{
    std::string text;
    CapturedLog* debugLog = new CapturedLog(&text);
    SetDebugOutput(debugLog, false);
    kvApplication* app = new RecordingApp(&log);
    InitKV(nullptr, app);
    EXPECT_EQ(app, kvApp);
    ReleaseKV();
    EXPECT_EQ(nullptr, kvApp);
    EXPECT_EQ(CallLog{"app.delete"}, log);
    EXPECT_NE(std::string::npos, text.find("COM Interface initialized.\n"));
    size_t uninit = text.find("COM uninitialized.\n");
    size_t finish = text.find("---------   FINISH  --------- ");
    ASSERT_NE(std::string::npos, uninit);
    ASSERT_NE(std::string::npos, finish);
    EXPECT_LT(uninit, finish);
    EXPECT_EQ('\n', text.back());  // the ctime text ends the log with its line feed
}

TEST_F(RuntimeTest, MainLoopRunsFramesUntilTheWindowCloses)
{
    std::string text;
    SetDebugOutput(new CapturedLog(&text), false);
    RecordingApp* app = new RecordingApp(&log);
    RecordingGraphics* graph = new RecordingGraphics(&log);
    new RecordingInput(&log);
    int presents = 0;
    app->onFrame = [&](int frame) {
        presents = graph->presents;
        if (frame == 5)
            PostMessageA(hWnd, WM_CLOSE, 0, 0);
    };
    InitKV(nullptr, app);
    kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, 320, 240, KVWIN_WINDOWED | KVWIN_FIXEDSIZE);
    kvMain();
    EXPECT_EQ(0, kvlib::LastQuitCode());
    EXPECT_EQ(4, presents);  // every frame before the fifth was presented
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ((CallLog{"gi.Init", "ii.Init", "app.Init", "app.LoadObjs", "app.DestroyObjs",
                       "app.delete", "gi.delete", "ii.delete"}),
              log);
    kvDestroyWindow();
    ReleaseKV();
    for (const char* line :
         {"COM Interface initialized.", "successfully created.", "Graphic system initialized.",
          "Input system initialized.", "App objects loaded.", "Initialization done.",
          "App object deleted.", "Graphic system released.", "Input system released.",
          "destroyed.", "COM uninitialized.", "---------   FINISH  ---------"})
        EXPECT_NE(std::string::npos, text.find(line)) << line;
}

TEST_F(RuntimeTest, MainLoopEndsThroughTheHandlerWhenAFrameThrows)
{
    RecordingApp* app = new RecordingApp(&log);
    new RecordingGraphics(&log);
    new RecordingInput(&log);
    app->onFrame = [](int frame) {
        if (frame == 3)
            NewException("Frame failed.", KVEXCEPTION_GENERAL);
    };
    kvApp = app;
    kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, 320, 240, KVWIN_WINDOWED);
    testing::internal::CaptureStderr();
    kvMain();
    std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_EQ(-1, kvlib::LastQuitCode());
    EXPECT_NE(std::string::npos, shown.find("Exception caught!"));
    EXPECT_NE(std::string::npos, shown.find("Frame failed."));
    EXPECT_EQ(nullptr, kvApp);
    EXPECT_EQ(nullptr, kvgi);
    EXPECT_EQ(nullptr, kvii);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(-1, int(msg.wParam));
}

TEST_F(RuntimeTest, WindowDestroyedDuringABackgroundPaintIsReleasedAfterThatFrame)
{
    RecordingApp* app = new RecordingApp(&log);
    new RecordingGraphics(&log);
    new RecordingInput(&log);
    app->onFrame = [&](int frame) {
        if (frame == 3) {
            // To the background, with the picture invalid: paints draw the next frames.
            SendMessageA(hWnd, WM_ACTIVATEAPP, FALSE, 0);
            InvalidateRect(hWnd, nullptr, FALSE);
        }
        if (frame == 5) {
            DestroyWindow(hWnd);
            log.push_back("frame 5 ends");
        }
    };
    kvApp = app;
    kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, 320, 240, KVWIN_WINDOWED);
    kvMain();
    EXPECT_EQ(0, kvlib::LastQuitCode());
    EXPECT_EQ((CallLog{"gi.Init", "ii.Init", "app.Init", "app.LoadObjs", "frame 5 ends",
                       "app.DestroyObjs", "app.delete", "gi.delete", "ii.delete"}),
              log);
    EXPECT_EQ(nullptr, kvApp);
}

TEST_F(RuntimeTest, CatchExceptionReleasesShowsAndQuitsWithMinusOne)
{
    kvApp = new RecordingApp(&log);
    new RecordingGraphics(&log);
    kvlib::LoadAppObjects();
    kvException* e = new kvException("Broken.", KVEXCEPTION_DATAFILE);
    testing::internal::CaptureStderr();
    CatchException(e);
    std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, shown.find("Exception caught!: Broken."));
    EXPECT_EQ((CallLog{"app.LoadObjs", "app.DestroyObjs", "app.delete", "gi.delete"}), log);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_QUIT), msg.message);
    EXPECT_EQ(-1, int(msg.wParam));
}

TEST_F(RuntimeTest, AppTimeStandsStillInTheBackgroundAndSkipsTheFirstFrameBack)
{
    kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, 320, 240, KVWIN_WINDOWED);
    Pump();
    ASSERT_TRUE(bActive);
    UpdateTimeCounter();
    Sleep(5);
    UpdateTimeCounter();
    float running = fAppTime;
    EXPECT_GT(fElapsedTime, 0.004f);
    EXPECT_GT(GetFPS(), 0u);
    EXPECT_EQ(DWORD(int64_t(double(fTime) * 1000.0)), TimeStamp);

    PushFocus(SDL_WINDOWEVENT_FOCUS_LOST);
    Pump();
    ASSERT_FALSE(bActive);
    for (int i = 0; i < 3; ++i) {
        Sleep(2);
        UpdateTimeCounter();
    }
    EXPECT_EQ(running, fAppTime);

    PushFocus(SDL_WINDOWEVENT_FOCUS_GAINED);
    Pump();
    ASSERT_TRUE(bActive);
    Sleep(5);
    UpdateTimeCounter();  // the first frame back spans the pause: not added
    EXPECT_EQ(running, fAppTime);
    Sleep(2);
    UpdateTimeCounter();
    EXPECT_FLOAT_EQ(running + fElapsedTime, fAppTime);
}

TEST_F(RuntimeTest, TheClockKeepsMillisecondsWhenTheCounterHasRunForWeeks)
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    EXPECT_LT(counter.QuadPart / frequency.QuadPart, 600) << "the counter starts with the program";
    // Before the clock's first reading, as on a machine that has been up for three weeks.
    vexa::platform::MovePerformanceCounterOrigin(21.0 * 86400.0);
    UpdateTimeCounter();
    const float before = fTime;
    Sleep(3);
    UpdateTimeCounter();
    EXPECT_GT(fElapsedTime, 0.0025f);
    EXPECT_NEAR(fElapsedTime, fTime - before, 0.0002f);
    EXPECT_LT(fTime, 600.0f);
}

TEST_F(RuntimeTest, DragPausesTheClockLikeADeactivation)
{
    kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, 320, 240, KVWIN_WINDOWED);
    Pump();
    UpdateTimeCounter();
    UpdateTimeCounter();
    float before = fAppTime;
    SendMessageA(hWnd, WM_ENTERSIZEMOVE, 0, 0);
    UpdateTimeCounter();
    SendMessageA(hWnd, WM_EXITSIZEMOVE, 0, 0);
    Sleep(3);
    UpdateTimeCounter();
    EXPECT_EQ(before, fAppTime);
}

TEST_F(RuntimeTest, IMESwitchDetachesOnceAndRestoresTheSameContext)
{
    kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, 320, 240, KVWIN_WINDOWED);
    HIMC original = ImmGetContext(hWnd);
    ASSERT_NE(nullptr, original);
    ImmReleaseContext(hWnd, original);

    kvEnableIME(false);
    EXPECT_EQ(nullptr, ImmGetContext(hWnd));
    kvEnableIME(false);  // already detached: nothing to save, nothing changes
    EXPECT_EQ(nullptr, ImmGetContext(hWnd));

    kvEnableIME(true);
    HIMC back = ImmGetContext(hWnd);
    EXPECT_EQ(original, back);
    ImmReleaseContext(hWnd, back);
    kvEnableIME(true);
    back = ImmGetContext(hWnd);
    EXPECT_EQ(original, back);
    ImmReleaseContext(hWnd, back);
    EXPECT_FALSE(kvGetIMEStatus());
}

TEST_F(RuntimeTest, DefaultFinishCompositionDetaches)
{
    kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, 320, 240, KVWIN_WINDOWED);
    kvIMEInterface ime;
    EXPECT_NE(0u, ime.Property & IME_PROP_AT_CARET);
    ime.FinishComposition();
    EXPECT_EQ(nullptr, ImmGetContext(hWnd));
    // Without a context it only detaches again, which changes nothing.
    ime.FinishComposition();
    EXPECT_EQ(nullptr, ImmGetContext(hWnd));
    kvEnableIME(true);
    HIMC back = ImmGetContext(hWnd);
    EXPECT_NE(nullptr, back);
    EXPECT_TRUE(ImmGetOpenStatus(back) == FALSE);  // closed by the finish
    ImmReleaseContext(hWnd, back);
}
