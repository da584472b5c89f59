// The desktop and the framework's global state: the comment box, the frame counter,
// re-layout, start-up and teardown, the splash frame and the command helpers.
#include "RecordingGraph.h"
#include "RecordingStyle.h"
#include "RecordingText.h"

#include <Zeb.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {
class CountedView : public WView {
public:
    CountedView(int x, int y, int w, int h, int* deaths)
        : WView(x, y, w, h, "", "", 0), deathCount(deaths)
    {
    }
    ~CountedView() override { ++*deathCount; }
    int* deathCount;
};

class CountedIME : public kvIMEInterface {
public:
    explicit CountedIME(int* deaths) : deathCount(deaths) {}
    ~CountedIME() override { ++*deathCount; }
    int* deathCount;
};

void DrainEvents()
{
    VlxMessage e;
    while (LoadEvent(&e)) {
    }
}
}  // namespace

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ScreenX = 800;
        ScreenY = 600;
        bNoRealTime = false;
        bShowFPS = false;
        bZebHandle = false;
        SetOutText(new RecordingText(&log));
        InitZeb(0);
        SetDesktop(new WDesktop);
        pbg = &graph;
        DrainEvents();
    }
    void TearDown() override
    {
        FreeZeb();
        pbg = nullptr;
        std::memset(&MyMouse, 0, sizeof MyMouse);
        MouseX = MouseY = 0;
        bExit = bZebHandle = bShowFPS = false;
        DrainEvents();
    }
    // The lines drawn since the last call.
    DrawLog Take()
    {
        DrawLog taken;
        taken.swap(log);
        return taken;
    }

    DrawLog log;
    RecordingGraph graph{&log};
};

TEST_F(DesktopTest, IsTheActiveRootCoveringTheScreen)
{
    EXPECT_EQ(WTTDesktop, MyDesktop->Type);
    EXPECT_EQ(DWORD(VS_ACTIVE | VS_ROOT), MyDesktop->State);
    EXPECT_EQ(MyDesktop, MyDesktop->Parent);
    EXPECT_EQ(800, MyDesktop->Right);
    EXPECT_EQ(600, MyDesktop->Bottom);
    EXPECT_STREQ("Desktop", MyDesktop->Caption);
    EXPECT_TRUE(MyDesktop->IsActive());
    EXPECT_FALSE(MyDesktop->IsDisabled());
}

TEST_F(DesktopTest, DrawClearsBeginsDrawsTheTreeAndThenTheCommentAboveIt)
{
    auto* group = new WGroup(10, 20, 100, 50, "", 0);
    MyDesktop->AddView(group, 0);
    SendComment(group, 300, 300, "tip");
    Take();
    MyDesktop->Draw();
    const DrawLog drawn = Take();
    ASSERT_GE(drawn.size(), 4u);
    EXPECT_EQ("ClearScreen(0x00000000)", drawn[0]);
    EXPECT_EQ("BeginScene", drawn[1]);
    // The group's etched frame, then the comment box's border, background and text.
    EXPECT_EQ("Bar(10,20,11,69,0xFF282828,null)", drawn[2]);
    EXPECT_EQ("DrawTextA(314,302,\"tip\",flags=6,colour=0xFF000000)", drawn.back());
    EXPECT_EQ("Bar(300,300,328,320,0xFF000000,null)", drawn[drawn.size() - 3]);
    EXPECT_EQ("Bar(301,301,327,319,0xFFE0E050,null)", drawn[drawn.size() - 2]);
}

struct CommentCase {
    int x, y;          // requested
    int drawnX, drawnY;  // top-left after clamping to the 800 x 600 screen
};

class CommentClamp : public DesktopTest, public ::testing::WithParamInterface<CommentCase> {};

TEST_P(CommentClamp, TheBoxStaysOnTheScreen)
{
    // "abcd" with the recording font: 32 x 16, so the box is 36 x 20.
    const CommentCase c = GetParam();
    SendComment(MyDesktop, c.x, c.y, "abcd");
    EXPECT_EQ(36, MyDesktop->CommentBoxW);
    EXPECT_EQ(20, MyDesktop->CommentBoxH);
    MyDesktop->ShowComment();
    const std::string border = "Bar(" + std::to_string(c.drawnX) + "," + std::to_string(c.drawnY) +
                               "," + std::to_string(c.drawnX + 36) + "," +
                               std::to_string(c.drawnY + 20) + ",0xFF000000,null)";
    const DrawLog drawn = Take();
    ASSERT_EQ(3u, drawn.size());
    EXPECT_EQ(border, drawn[0]);
    EXPECT_EQ(c.drawnX, MyDesktop->CommentBoxX);  // the clamped place is kept
    EXPECT_EQ(c.drawnY, MyDesktop->CommentBoxY);
}

INSTANTIATE_TEST_SUITE_P(Places, CommentClamp,
                         ::testing::Values(CommentCase{100, 100, 100, 100},
                                           CommentCase{790, 590, 764, 580},
                                           CommentCase{-5, -30, 0, 0},
                                           CommentCase{764, 580, 764, 580},
                                           CommentCase{765, 581, 764, 580}));

TEST_F(DesktopTest, TheCommentHidesWhileAButtonIsHeldAndComesBack)
{
    SendComment(MyDesktop, 100, 100, "tip");
    for (int button = 0; button < 3; ++button) {
        MyMouse.rgbButtons[button] = 0x80;
        MyDesktop->ShowComment();
        EXPECT_TRUE(Take().empty()) << "button " << button;
        MyMouse.rgbButtons[button] = 0;
    }
    MyMouse.rgbButtons[3] = 0x80;  // a fourth button does not hide it
    MyDesktop->ShowComment();
    EXPECT_EQ(3u, Take().size());
    MyMouse.rgbButtons[3] = 0;
    MyDesktop->ShowComment();
    EXPECT_EQ(3u, Take().size());
    SendNoComment();
    MyDesktop->ShowComment();
    EXPECT_TRUE(Take().empty());
}

TEST_F(DesktopTest, WhileAModalLoopRunsOnlyMarkedViewsShowComments)
{
    auto* outside = new WView(0, 0, 10, 10, "", "", 0);
    auto* dialog = new WView(0, 0, 10, 10, "", "", 0);
    MyDesktop->AddView(outside, 0);
    MyDesktop->AddView(dialog, 0);
    MyDesktop->Modal |= VIEW_MODAL;
    dialog->SetModal(1);
    SendComment(outside, 50, 50, "outside");
    EXPECT_FALSE(MyDesktop->State & VS_COMMENT_SHOWN);
    SendComment(dialog, 60, 60, "inside");
    EXPECT_TRUE(MyDesktop->State & VS_COMMENT_SHOWN);
    EXPECT_STREQ("inside", MyDesktop->Comment);
    EXPECT_EQ(60, MyDesktop->CommentBoxX);
    // The request also asks for a redraw.
    VlxMessage e;
    ASSERT_TRUE(LoadEvent(&e));
    EXPECT_EQ(VLX_COMMAND, e.type);
    EXPECT_EQ(0, e.x);
}

TEST_F(DesktopTest, RefreshDrawsTheFrameCounterOnlyInRealTimeAndRestoresTheStyle)
{
    OutText->flags = WTEXT_CENTRE;
    OutText->colour = 0xFF123456;
    bShowFPS = true;
    MyDesktop->Refresh();
    char expected[64];
    std::snprintf(expected, sizeof expected,
                  "DrawTextA(5,5,\"FPS = %d\",flags=0,colour=0xFFFFFFFF)", int(GetFPS()));
    EXPECT_EQ((DrawLog{expected, "EndScene", "UpdateScreen"}), Take());
    EXPECT_EQ(WTEXT_CENTRE, OutText->flags);
    EXPECT_EQ(0xFFFFFFFFu, OutText->colour);  // the colour stays changed

    bNoRealTime = true;
    MyDesktop->Refresh();
    EXPECT_EQ((DrawLog{"EndScene", "UpdateScreen"}), Take());
    bNoRealTime = false;
    bShowFPS = false;
    MyDesktop->Refresh();
    EXPECT_EQ((DrawLog{"EndScene", "UpdateScreen"}), Take());
}

TEST_F(DesktopTest, ResizeZebReplacesTheTreeOnlyOnceTheFrameworkRuns)
{
    auto* right = new WView(-100, 10, 80, 20, "", "", 0);  // 100 from the right edge
    MyDesktop->AddView(right, 0);
    EXPECT_EQ(700, right->Left);
    ScreenX = 1024;
    ScreenY = 768;
    ResizeZeb();  // before RunMain
    EXPECT_EQ(800, MyDesktop->Right);
    EXPECT_EQ(700, right->Left);

    bZebHandle = true;
    ResizeZeb();
    EXPECT_EQ(1024, MyDesktop->Right);
    EXPECT_EQ(768, MyDesktop->Bottom);
    EXPECT_EQ(924, right->Left);
    EXPECT_EQ(1004, right->Right);
    EXPECT_EQ(924, right->OriginX);
}

TEST_F(DesktopTest, InitZebChoosesTheCaptionLanguageAndRefusesOthers)
{
    InitZeb(1);
    const char* english[] = {"Accept", "Cancel", "Yes",    "No",
                             "Error",  "Information", "Prompt", "Confirmation"};
    for (int i = 0; i < ZEB_CAPTIONS; ++i)
        EXPECT_STREQ(english[i], CusCaption[i]);
    InitZeb(0);
    EXPECT_STREQ("\xC8\xB7\xB6\xA8", CusCaption[CC_OK]);  // 确定 in GBK
    try {
        InitZeb(2);
        ADD_FAILURE() << "language 2 was accepted";
    } catch (kvException* e) {
        DeleteException(e);
    }
    EXPECT_STREQ("\xC8\xB7\xB6\xA8", CusCaption[CC_OK]);
}

TEST_F(DesktopTest, InitZebInstallsTheDefaultPaletteAndAFreshStyle)
{
    ViewPalette[3] = 0x11111111;
    ViewPalette[13] = 0x22222222;
    auto* custom = new RecordingStyle(&log);
    SetUIStyle(custom);
    InitZeb(0);
    EXPECT_EQ(DrawLog{"~RecordingStyle"}, Take());  // the replaced style is deleted
    EXPECT_NE(nullptr, pUIStyle);
    for (int i = 0; i < VP_ROLES; ++i)
        EXPECT_EQ(zeb::kDefaultPalette[i], ViewPalette[i]) << i;
    EXPECT_EQ(0x22222222u, ViewPalette[13]);  // beyond the roles: the application's
}

TEST_F(DesktopTest, FreeZebReleasesWhatTheFrameworkOwns)
{
    int imeDeaths = 0;
    kvimei = new CountedIME(&imeDeaths);
    WText* first = OutText;
    auto* second = new RecordingText(&log);
    SetOutText(second);
    FreeZeb();
    EXPECT_EQ(DrawLog{"~RecordingText"}, Take());  // the second writer only
    EXPECT_EQ(nullptr, OutText);
    EXPECT_EQ(nullptr, pUIStyle);
    EXPECT_EQ(nullptr, MyDesktop);
    EXPECT_EQ(nullptr, kvimei);
    EXPECT_EQ(1, imeDeaths);
    delete first;  // still its creator's
    Take();
    SetOutText(new RecordingText(&log));
}

TEST_F(DesktopTest, FreeZebKeepsADesktopSomeoneElseHolds)
{
    WDesktop* desktop = MyDesktop;
    desktop->AddRef();
    FreeZeb();
    EXPECT_EQ(desktop, MyDesktop);
    EXPECT_EQ(1, desktop->GetRef());
    SetOutText(new RecordingText(&log));
    FreeZeb();
    EXPECT_EQ(nullptr, MyDesktop);
    SetOutText(new RecordingText(&log));
}

TEST_F(DesktopTest, DestroyingTheDesktopSparesUnownedAndForeignChildren)
{
    int deaths = 0;
    auto* unownedFirst = new CountedView(0, 0, 10, 10, &deaths);
    auto* owned = new CountedView(0, 0, 10, 10, &deaths);
    auto* unowned = new CountedView(0, 0, 10, 10, &deaths);
    auto* owned2 = new CountedView(0, 0, 10, 10, &deaths);
    unownedFirst->Unowned = 1;
    unowned->Unowned = 1;
    MyDesktop->AddView(unownedFirst, 0);
    MyDesktop->AddView(owned, 0);
    MyDesktop->AddView(unowned, 0);
    MyDesktop->AddView(owned2, 0);
    WDesktop* desktop = MyDesktop;
    delete desktop;
    EXPECT_EQ(nullptr, MyDesktop);
    EXPECT_EQ(2, deaths);
    EXPECT_EQ(nullptr, unowned->Next);
    delete unownedFirst;
    delete unowned;
    EXPECT_EQ(4, deaths);
    SetDesktop(new WDesktop);
}

TEST_F(DesktopTest, DrawSplashDrawsOneFramedFrameAndLeavesTheTreeAsItWas)
{
    auto* screen = new WView(0, 0, 800, 600, "", "", 0);
    MyDesktop->AddView(screen, 0);
    Take();
    DrawSplash("Loading");
    const DrawLog drawn = Take();
    // Clear, begin, the outer frame (200,225)-(600,375) raised and filled, the inner one
    // sunken, the centred text, then the present.
    ASSERT_GE(drawn.size(), 14u);
    EXPECT_EQ("ClearScreen(0x00000000)", drawn[0]);
    EXPECT_EQ("BeginScene", drawn[1]);
    EXPECT_EQ("Bar(201,226,599,374,0x801E281E,null)", drawn[2]);
    EXPECT_EQ("Bar(200,225,600,226,0xFF48C848,null)", drawn[3]);
    EXPECT_EQ("Bar(206,231,594,369,0x801E281E,null)", drawn[7]);
    EXPECT_EQ("Bar(205,230,595,231,0xFF282828,null)", drawn[8]);
    EXPECT_EQ("DrawTextA(400,280,\"Loading\",flags=6,colour=0xFFACD373)", drawn[12]);
    EXPECT_EQ((DrawLog{"EndScene", "UpdateScreen"}), DrawLog(drawn.end() - 2, drawn.end()));
    EXPECT_EQ(screen, MyDesktop->Child);
    EXPECT_EQ(nullptr, screen->Next);
    EXPECT_EQ(screen, MyDesktop->Active);
}

TEST_F(DesktopTest, AddCommandQueuesTheCallersRecordAndFlagsAnExit)
{
    VlxMessage e = {};
    e.y = 7;
    e.dx = 9;
    AddCommand(&e, 4100);
    EXPECT_FALSE(bExit);
    VlxMessage out;
    ASSERT_TRUE(LoadEvent(&out));
    EXPECT_EQ(VLX_COMMAND, out.type);
    EXPECT_EQ(4100, out.x);
    EXPECT_EQ(7, out.y);
    EXPECT_EQ(9, out.dx);
    AddCommand(&e, 5);
    EXPECT_TRUE(bExit);
}

TEST_F(DesktopTest, WaitForIdleLooksAtAllFourButtons)
{
    EXPECT_TRUE(WaitForIdle());
    for (int i = 0; i < 4; ++i) {
        MyMouse.rgbButtons[i] = 0x80;
        EXPECT_FALSE(WaitForIdle()) << i;
        MyMouse.rgbButtons[i] = 0x7F;  // only the high bit means held
        EXPECT_TRUE(WaitForIdle()) << i;
        MyMouse.rgbButtons[i] = 0;
    }
}
