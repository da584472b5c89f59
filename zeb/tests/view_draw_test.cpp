// Drawing: the order children are drawn in, the comment timer, bevelled frames, the caret,
// and groups and dialogs as the default style draws them.
#include "ViewFixture.h"

#include <WDialog.h>
#include <WGroup.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using zebtest::ProbeView;

namespace {
std::string Bar(int x1, int y1, int x2, int y2, DWORD colour, const char* texture = "null")
{
    return "Bar(" + std::to_string(x1) + "," + std::to_string(y1) + "," + std::to_string(x2) + "," +
           std::to_string(y2) + "," + zebtest::Colour(colour) + "," + texture + ")";
}

std::string Text(int x, int y, const std::string& text, int flags, DWORD colour)
{
    return "DrawTextA(" + std::to_string(x) + "," + std::to_string(y) + ",\"" + text +
           "\",flags=" + std::to_string(flags) + ",colour=" + zebtest::Colour(colour) + ")";
}

// The bars of a frame as the frame test below pins them down, for the panel tests.
DrawLog Frame(int x1, int y1, int x2, int y2, bool sunken, int fill, const char* texture)
{
    const DWORD tl = sunken ? ViewPalette[VP_DARK] : ViewPalette[VP_LIGHT];
    const DWORD br = sunken ? ViewPalette[VP_LIGHT] : ViewPalette[VP_DARK];
    DrawLog out;
    if (fill == 2 && texture)
        out.push_back("DrawUITexture(" + std::to_string(x1 + 1) + "," + std::to_string(y1 + 1) +
                      "," + std::to_string(x2 - 1) + "," + std::to_string(y2 - 1) + "," +
                      (sunken ? "sunken" : "raised") + "," + texture + ")");
    else if (fill)
        out.push_back(Bar(x1 + 1, y1 + 1, x2 - 1, y2 - 1, ViewPalette[VP_INTERIOR]));
    out.push_back(Bar(x1, y1, x2, y1 + 1, tl));
    out.push_back(Bar(x1, y1 + 1, x1 + 1, y2 - 1, tl));
    out.push_back(Bar(x1, y2 - 1, x2, y2, br));
    out.push_back(Bar(x2 - 1, y1 + 1, x2, y2 - 1, br));
    return out;
}

DrawLog operator+(DrawLog a, const DrawLog& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

int frameTexture; // stands for the skin's frame texture; only its address is used

// Writes its own texture fill, to show that frames fill through the virtual slot.
class SkinnedView : public WView {
  public:
    explicit SkinnedView(DrawLog* drawLog) : WView(0, 0, 10, 10, "", "", 0), log(drawLog) {}
    void DrawTexture(int x1, int y1, int x2, int y2, bool sunken) override
    {
        log->push_back("SkinTexture(" + std::to_string(x1) + "," + std::to_string(y1) + "," +
                       std::to_string(x2) + "," + std::to_string(y2) + "," +
                       (sunken ? "sunken" : "raised") + ")");
    }
    DrawLog* log;
};
} // namespace

class DrawTest : public ViewTest {
  protected:
    void UseFrameTexture()
    {
        graph.textures.Name(&frameTexture, "frame");
        void* slots[] = {&frameTexture};
        SetGUITexture(slots, 1);
    }
};

TEST_F(DrawTest, ChildrenDrawInListOrderAndHiddenSubtreesAreSkipped)
{
    auto* host = new ProbeView("host", &events, 0, 0, 100, 100);
    MyDesktop->AddView(host, 0);
    for (const char* name : {"a", "b", "c"}) {
        auto* v = new ProbeView(name, &events, 0, 0, 10, 10);
        v->drawLog = &log;
        host->AddView(v, 0);
    }
    auto* hidden = static_cast<ProbeView*>(host->Child->Next);
    auto* inner = new ProbeView("b1", &events, 0, 0, 5, 5);
    inner->drawLog = &log;
    hidden->AddView(inner, 0);
    hidden->State |= VS_HIDDEN;
    host->drawLog = &log;
    log.clear();
    host->Draw();
    EXPECT_EQ((DrawLog{"Draw(host)", "Draw(a)", "Draw(c)"}), log);
    EXPECT_TRUE(events.empty());
}

namespace {
struct TimerCase {
    const char* what;
    DWORD hoverTime, now;
    bool inside;
    int commentX, commentY;
    bool shown;
    int boxX, boxY;
};
std::ostream& operator<<(std::ostream& os, const TimerCase& c)
{
    return os << c.what;
}
const TimerCase kTimerCases[] = {
    {"exactly the delay is not enough", 1000, 1060, true, -1, -1, false, 0, 0},
    {"one millisecond more shows it beside the pointer", 1000, 1061, true, -1, -1, true, 134, 129},
    {"its own place when both are set", 1000, 1061, true, 300, 40, true, 300, 40},
    {"its own place when only one is set", 1000, 1061, true, 300, -1, true, 300, -1},
    {"not while the pointer is elsewhere", 1000, 5000, false, -1, -1, false, 0, 0},
    {"counts across the clock's wrap", 0xFFFFFFF0u, 0x2D, true, -1, -1, true, 134, 129},
    {"and still not at exactly the delay across it", 0xFFFFFFF0u, 0x2C, true, -1, -1, false, 0, 0},
};
class CommentTimerTest : public DrawTest, public ::testing::WithParamInterface<TimerCase> {};
} // namespace

TEST_P(CommentTimerTest, ShowsTheCommentOnlyAfterTheDelay)
{
    const TimerCase& c = GetParam();
    auto* v = new WView(100, 100, 50, 20, "", "tip", 0);
    MyDesktop->AddView(v, 0);
    v->HoverTime = c.hoverTime;
    v->CommentX = c.commentX;
    v->CommentY = c.commentY;
    PointAt(c.inside ? 110 : 500, c.inside ? 105 : 500);
    TimeStamp = c.now;
    v->Draw();
    EXPECT_EQ(c.shown, bool(v->State & VS_COMMENT_SHOWN));
    EXPECT_EQ(c.shown, bool(MyDesktop->State & VS_COMMENT_SHOWN));
    if (c.shown) {
        EXPECT_STREQ("tip", MyDesktop->Comment);
        EXPECT_EQ(c.boxX, MyDesktop->CommentBoxX);
        EXPECT_EQ(c.boxY, MyDesktop->CommentBoxY);
    }
    // A pointer elsewhere keeps the clock at now, so the rest starts when it arrives.
    EXPECT_EQ(c.inside ? c.hoverTime : c.now, v->HoverTime);
}
INSTANTIATE_TEST_SUITE_P(Cases, CommentTimerTest, ::testing::ValuesIn(kTimerCases));

TEST_F(DrawTest, ShownCommentIsNotSentAgainAndIsWithdrawnWhenThePointerLeaves)
{
    TimeStamp = 1000;
    auto* v = new WView(100, 100, 50, 20, "", "tip", 0);
    MyDesktop->AddView(v, 0);
    PointAt(110, 105);
    TimeStamp = 1100;
    v->Draw();
    ASSERT_TRUE(MyDesktop->State & VS_COMMENT_SHOWN);
    MyDesktop->CommentBoxX = -5; // a second request would move it
    TimeStamp = 1200;
    v->Draw();
    EXPECT_EQ(-5, MyDesktop->CommentBoxX);
    EXPECT_TRUE(v->State & VS_COMMENT_SHOWN);

    PointAt(10, 10);
    TimeStamp = 1300;
    v->Draw();
    EXPECT_FALSE(v->State & VS_COMMENT_SHOWN);
    EXPECT_FALSE(MyDesktop->State & VS_COMMENT_SHOWN);
    EXPECT_EQ(1300u, v->HoverTime);
}

TEST_F(DrawTest, ViewWithoutCommentNeverAsksForOne)
{
    auto* v = new WView(100, 100, 50, 20, "", "", 0);
    MyDesktop->AddView(v, 0);
    PointAt(110, 105);
    TimeStamp = 100000;
    v->Draw();
    EXPECT_FALSE(v->State & VS_COMMENT_SHOWN);
    EXPECT_FALSE(MyDesktop->State & VS_COMMENT_SHOWN);
}

TEST_F(DrawTest, PointerOnAChildRestartsTheRestClockOfTheViewBelow)
{
    TimeStamp = 1000;
    auto* v = new WView(100, 100, 100, 100, "", "tip", 0);
    auto* child = new WView(10, 10, 20, 20, "", "", 0);
    MyDesktop->AddView(v, 0);
    v->AddView(child, 0);
    PointAt(115, 115); // on the child, inside the view too
    TimeStamp = 1030;
    v->Draw();
    EXPECT_EQ(1030u, v->HoverTime);
    EXPECT_FALSE(MyDesktop->State & VS_COMMENT_SHOWN);
}

namespace {
struct FrameCase {
    const char* what;
    bool sunken;
    int fill;
    bool texture;
    DrawLog expected;
};
std::ostream& operator<<(std::ostream& os, const FrameCase& c)
{
    return os << c.what;
}
// Palette roles, resolved when the case runs.
const char* const kDark = "D";
const char* const kLight = "L";
const char* const kInside = "I";
class FrameTest : public DrawTest, public ::testing::WithParamInterface<FrameCase> {};

std::string Resolve(const std::string& line)
{
    const struct {
        const char* key;
        int role;
    } roles[] = {{kDark, VP_DARK}, {kLight, VP_LIGHT}, {kInside, VP_INTERIOR}};
    for (const auto& r : roles) {
        const std::string key = std::string(",") + r.key + ",";
        const size_t at = line.find(key);
        if (at != std::string::npos)
            return line.substr(0, at + 1) + zebtest::Colour(ViewPalette[r.role]) +
                   line.substr(at + key.size() - 1);
    }
    return line;
}

const FrameCase kFrameCases[] = {
    {"sunken, edges only",
     true,
     0,
     false,
     {"Bar(10,20,50,21,D,null)", "Bar(10,21,11,59,D,null)", "Bar(10,59,50,60,L,null)",
      "Bar(49,21,50,59,L,null)"}},
    {"raised, edges only",
     false,
     0,
     true,
     {"Bar(10,20,50,21,L,null)", "Bar(10,21,11,59,L,null)", "Bar(10,59,50,60,D,null)",
      "Bar(49,21,50,59,D,null)"}},
    {"sunken, solid",
     true,
     1,
     false,
     {"Bar(11,21,49,59,I,null)", "Bar(10,20,50,21,D,null)", "Bar(10,21,11,59,D,null)",
      "Bar(10,59,50,60,L,null)", "Bar(49,21,50,59,L,null)"}},
    {"solid ignores the texture",
     false,
     1,
     true,
     {"Bar(11,21,49,59,I,null)", "Bar(10,20,50,21,L,null)", "Bar(10,21,11,59,L,null)",
      "Bar(10,59,50,60,D,null)", "Bar(49,21,50,59,D,null)"}},
    {"textured without a texture falls back to solid",
     false,
     2,
     false,
     {"Bar(11,21,49,59,I,null)", "Bar(10,20,50,21,L,null)", "Bar(10,21,11,59,L,null)",
      "Bar(10,59,50,60,D,null)", "Bar(49,21,50,59,D,null)"}},
    {"textured, raised",
     false,
     2,
     true,
     {"DrawUITexture(11,21,49,59,raised,frame)", "Bar(10,20,50,21,L,null)",
      "Bar(10,21,11,59,L,null)", "Bar(10,59,50,60,D,null)", "Bar(49,21,50,59,D,null)"}},
    {"textured, sunken",
     true,
     2,
     true,
     {"DrawUITexture(11,21,49,59,sunken,frame)", "Bar(10,20,50,21,D,null)",
      "Bar(10,21,11,59,D,null)", "Bar(10,59,50,60,L,null)", "Bar(49,21,50,59,L,null)"}},
};
} // namespace

TEST_P(FrameTest, DrawsTheExactBars)
{
    const FrameCase& c = GetParam();
    if (c.texture)
        UseFrameTexture();
    WView v(0, 0, 10, 10, "", "", 0);
    log.clear();
    v.DrawFrame(10, 20, 50, 60, c.sunken, static_cast<unsigned char>(c.fill));
    DrawLog expected;
    for (const std::string& line : c.expected)
        expected.push_back(Resolve(line));
    EXPECT_EQ(expected, log);
}
INSTANTIATE_TEST_SUITE_P(Cases, FrameTest, ::testing::ValuesIn(kFrameCases));

TEST_F(DrawTest, TexturedFrameFillsThroughTheViewsOwnTextureSlot)
{
    UseFrameTexture();
    SkinnedView v(&log);
    log.clear();
    v.DrawFrame(0, 0, 20, 10, true, 2);
    ASSERT_EQ(5u, log.size());
    EXPECT_EQ("SkinTexture(1,1,19,9,sunken)", log[0]);
}

TEST_F(DrawTest, CaretIsATwoPixelBarOnlyInTheOnPhase)
{
    WView v(0, 0, 10, 10, "", "", 0);
    log.clear();
    bCursorSparkle = false;
    v.ShowActiveCursor(30, 40, 12, 0xFF00FF00);
    EXPECT_TRUE(log.empty());
    bCursorSparkle = true;
    v.ShowActiveCursor(30, 40, 12, 0xFF00FF00);
    EXPECT_EQ((DrawLog{Bar(30, 40, 32, 52, 0xFF00FF00)}), log);
}

TEST_F(DrawTest, GroupDrawsAnEtchedFrameOpenForItsCaptionThenItsChildren)
{
    auto* group = new WGroup(20, 30, 200, 100, "AB", 0);
    auto* child = new ProbeView("child", &events, 5, 5, 10, 10);
    child->drawLog = &log;
    MyDesktop->AddView(group, 0);
    group->AddView(child, 0);
    log.clear();
    group->Draw();
    const DWORD dark = ViewPalette[VP_DARK], light = ViewPalette[VP_LIGHT];
    // Caption "AB": 16 pixels wide, so the gap is 21 pixels from L + 10.
    const DrawLog expected = {
        Bar(20, 30, 21, 129, dark),
        Bar(20, 129, 220, 130, dark),
        Bar(219, 30, 220, 129, dark),
        Bar(20, 30, 30, 31, dark),
        Bar(51, 30, 220, 31, dark),
        Bar(21, 31, 22, 129, light),
        Bar(20, 130, 221, 131, light),
        Bar(220, 30, 221, 130, light),
        Bar(21, 31, 30, 32, light),
        Bar(51, 31, 218, 32, light),
        Text(40, 22, "AB", 6, ViewPalette[VP_TEXT]),
        "Draw(child)",
    };
    EXPECT_EQ(expected, log);
}

TEST_F(DrawTest, GroupWithoutCaptionHasNoGapAndNoText)
{
    auto* dialog = new WDialog(100, 50, 300, 200, "Hi", 0);
    auto* group = new WGroup(10, 10, 50, 40, "", 0);
    MyDesktop->AddView(dialog, 0);
    dialog->AddView(group, 0);
    log.clear();
    group->Draw();
    const DWORD dark = ViewPalette[VP_DARK], light = ViewPalette[VP_LIGHT];
    // Screen rectangle: (110, 80) to (160, 120), below the 20-pixel caption bar.
    const DrawLog expected = {
        Bar(110, 80, 111, 119, dark),   Bar(110, 119, 160, 120, dark),
        Bar(159, 80, 160, 119, dark),   Bar(110, 80, 120, 81, dark),
        Bar(120, 80, 160, 81, dark),    Bar(111, 81, 112, 119, light),
        Bar(110, 120, 161, 121, light), Bar(160, 80, 161, 120, light),
        Bar(111, 81, 120, 82, light),   Bar(120, 81, 158, 82, light),
    };
    EXPECT_EQ(expected, log);
}

namespace {
struct DialogCase {
    const char* what;
    bool active;
    bool texture;
};
std::ostream& operator<<(std::ostream& os, const DialogCase& c)
{
    return os << c.what;
}
const DialogCase kDialogCases[] = {
    {"active, solid", true, false},
    {"inactive, solid", false, false},
    {"active, textured", true, true},
};
class DialogDrawTest : public DrawTest, public ::testing::WithParamInterface<DialogCase> {};
} // namespace

TEST_P(DialogDrawTest, DrawsFrameCaptionBarAndCaptionThenChildren)
{
    const DialogCase& c = GetParam();
    if (c.texture)
        UseFrameTexture();
    auto* dialog = new WDialog(100, 50, 300, 200, "Hi", 0);
    auto* child = new ProbeView("child", &events, 0, 0, 10, 10);
    child->drawLog = &log;
    MyDesktop->AddView(dialog, c.active ? 0 : PLACE_NO_ACTIVATE);
    dialog->AddView(child, PLACE_NO_ACTIVATE);
    log.clear();
    dialog->Draw();
    const char* tex = c.texture ? "frame" : nullptr;
    const DrawLog expected =
        Frame(100, 50, 400, 250, false, 2, tex) + Frame(102, 52, 398, 70, true, 2, tex) +
        DrawLog{Text(250, 53, "Hi", 6, ViewPalette[c.active ? VP_HIGHLIGHT_TEXT : VP_TEXT]),
                "Draw(child)"};
    EXPECT_EQ(expected, log);
}
INSTANTIATE_TEST_SUITE_P(Cases, DialogDrawTest, ::testing::ValuesIn(kDialogCases));

TEST_F(DrawTest, DialogWithoutCaptionHasNoBarAndItsClientStartsAtItsTop)
{
    auto* dialog = new WDialog(100, 50, 300, 200, "", 0);
    auto* group = new WGroup(0, 0, 20, 20, "", 0);
    MyDesktop->AddView(dialog, 0);
    dialog->AddView(group, 0);
    log.clear();
    dialog->Draw();
    const DrawLog frame = Frame(100, 50, 400, 250, false, 2, nullptr);
    ASSERT_GE(log.size(), frame.size() + 1);
    EXPECT_EQ(frame, DrawLog(log.begin(), log.begin() + long(frame.size())));
    // The group's first line starts at the dialog's own top-left corner.
    EXPECT_EQ(Bar(100, 50, 101, 69, ViewPalette[VP_DARK]), log[frame.size()]);
}
