// Chinese entry through the real window: SDL's text editing and text input events pushed
// into the offscreen window travel the platform's input method, the window procedure and
// WIME into an active input line in mode 1. The candidate window is fed through the
// platform's candidate list. The recording writer makes a single-byte character 8 pixels
// wide, a double-byte one 16, and every line 16 high.
#include "RecordingGraph.h"
#include "RecordingText.h"
#include "RuntimeFixture.h"

#include <Zeb.h>
#include <WIME.h>
#include <WInputLine.h>
#include <WListBox.h>

#include <sdl_events.h>
#include <vexa/ime.h>

#include <imm.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

char kClass[] = "VexaTesselImeTest";
char kCaption[] = "IME test";

constexpr int kHome = 199, kEnd = 207;

class ImeTest : public RuntimeTest {
protected:
    void SetUp() override
    {
        RuntimeTest::SetUp();
        kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, 800, 600,
                       KVWIN_WINDOWED | KVWIN_FIXEDSIZE);
        ASSERT_NE(nullptr, hWnd);
        SetOutText(new RecordingText(&draw));
        InitZeb(0);
        pbg = &graph;
        SetDesktop(new WDesktop);
        ime = InstalledWIME();
        ASSERT_NE(nullptr, ime);
    }
    void TearDown() override
    {
        FreeZeb();
        pbg = nullptr;
        RuntimeTest::TearDown();
    }

    WInputLine* Line(int x, int y, int width, int maxLength = 64)
    {
        line = new WInputLine(x, y, width, maxLength, 4200, INPUT_TEXT_IME, true, 7);
        MyDesktop->AddView(line, 0);
        return line;
    }
    // Lets the window procedure handle what SDL delivered, then the desktop what the
    // runtime queued. While typed bytes wait, LoadEvent queues a redraw, so the loop runs
    // until the line has read them all (bounded, should a byte never be read).
    void Deliver()
    {
        Pump();
        VlxMessage e;
        for (int frames = 0; frames < 64 && LoadEvent(&e); ++frames)
            MyDesktop->HandleEvent(&e);
    }
    void Edit(const char* utf8, int start, int length)
    {
        ASSERT_TRUE(vexa::test::PushSdlEditing(hWnd, utf8, start, length));
        Deliver();
    }
    void Result(const char* utf8)
    {
        ASSERT_TRUE(vexa::test::PushSdlText(hWnd, utf8));
        Deliver();
    }
    void Key(SDL_Scancode code)
    {
        vexa::test::PushSdlKey(hWnd, code, true);
        vexa::test::PushSdlKey(hWnd, code, false);
        Deliver();
    }
    void Candidates(const std::vector<std::string>& utf8, uint32_t selection, uint32_t start,
                    uint32_t page)
    {
        ASSERT_TRUE(vexa::platform::SetImeCandidates(hWnd, utf8, selection, start, page));
        Deliver();
    }
    bool CandidatesShown() const
    {
        for (const WView* c = MyDesktop->Child; c; c = c->Next)
            if (c == ime->CandidateList)
                return true;
        return false;
    }
    std::vector<std::string> CandidateRows() const
    {
        std::vector<std::string> rows;
        const WStringList* s = ime->CandidateList->Strings;
        for (int i = 0; i < s->count; ++i)
            rows.push_back(s->strings[i]);
        return rows;
    }

    DrawLog draw;
    RecordingGraph graph{&draw};
    WIME* ime = nullptr;
    WInputLine* line = nullptr;
};

TEST_F(ImeTest, ChineseCompositionShowsInPlaceThenBecomesTheLinesText)
{
    Line(100, 50, 200);
    ASSERT_TRUE(ime->IsReceiver(line));

    Edit(u8"zhongwen", 8, 0);
    EXPECT_TRUE(ime->bComposing);
    EXPECT_EQ(0, line->CompStart);
    EXPECT_EQ(7, line->CompEnd);
    EXPECT_EQ(8, line->Cursor);

    Edit(u8"中文", 0, 2);
    EXPECT_STREQ("中文", line->GetText()) << "the preview replaces the pinyin";
    EXPECT_EQ(0, line->CompStart);
    EXPECT_EQ(1, line->CompEnd);
    EXPECT_EQ(0, line->TargetStart);
    EXPECT_EQ(1, line->TargetEnd);

    Result(u8"中文");
    EXPECT_FALSE(ime->bComposing);
    EXPECT_STREQ("中文", line->GetText()) << "the result reaches the line once";
    EXPECT_EQ(-1, line->CompStart);
    EXPECT_EQ(-1, line->TargetStart);
    EXPECT_EQ(2, line->Cursor);

    // Typed ASCII on both sides of the composed text.
    Result("b");
    Key(SDL_SCANCODE_HOME);
    Result("a");
    Key(SDL_SCANCODE_END);
    Result("c");
    EXPECT_STREQ("a中文bc", line->GetText());
    EXPECT_EQ(5, line->Cursor);
}

TEST_F(ImeTest, CompositionInTheMiddleAndOneOverTheByteBudget)
{
    Line(100, 50, 200, 6);
    Result("ab");
    Key(SDL_SCANCODE_LEFT);
    Edit(u8"中", 0, 1);
    EXPECT_STREQ("a中b", line->GetText());
    EXPECT_EQ(1, line->CompStart);
    EXPECT_EQ(1, line->CompEnd);
    Result(u8"中");
    EXPECT_STREQ("a中b", line->GetText());
    EXPECT_EQ(2, line->Cursor);

    // Two more bytes fit the 6-byte budget, four do not: the composition is cancelled.
    Edit(u8"中文", 0, 2);
    EXPECT_STREQ("a中b", line->GetText());
    EXPECT_FALSE(ime->bComposing) << "the input method was told to cancel";
    Result(u8"文");
    EXPECT_STREQ("a中文b", line->GetText());
}

TEST_F(ImeTest, CandidateWindowPagesStaysOnTheScreenAndCloses)
{
    // A line at the bottom right: after the first page, the list has to move.
    Line(100, 50, 200);
    Edit(u8"zhong", 5, 0);
    const std::vector<std::string> five = {u8"中", u8"种", u8"重", u8"众", u8"终"};
    Candidates(five, 1, 0, 3);
    WListBox* list = ime->CandidateList;
    ASSERT_TRUE(CandidatesShown());
    EXPECT_EQ(2, list->GetRef()) << "WIME's reference and the desktop's";
    EXPECT_EQ((std::vector<std::string>{"1 中", "2 种", "3 重"}), CandidateRows());
    EXPECT_EQ(1, list->Selected);
    // At the caret (x 100 + 5 characters + 2), below the line; 104 x (3 x 17 + 4).
    EXPECT_EQ(142, list->Left);
    EXPECT_EQ(70, list->Top);
    EXPECT_EQ(104, list->Right - list->Left);
    EXPECT_EQ(55, list->Bottom - list->Top);

    // A partly filled last page is shown; a page past the end closes the window.
    Candidates(five, 4, 3, 3);
    EXPECT_EQ((std::vector<std::string>{"1 众", "2 终"}), CandidateRows());
    EXPECT_TRUE(CandidatesShown());
    Candidates(five, 0, 5, 3);
    EXPECT_FALSE(CandidatesShown());
    EXPECT_EQ(1, list->GetRef());
    // More lines than the window holds are cut to its 16.
    Candidates(std::vector<std::string>(40, "x"), 0, 0, 40);
    EXPECT_EQ(16u, CandidateRows().size());

    // Moved with the line to the bottom right corner, the list goes above the line
    // (a text height and 4 over its bottom) and ends at the screen's right edge.
    line->Left = 700;
    line->Right = 795;
    line->Top = 570;
    line->Bottom = 590;
    Edit(u8"zhongwenzhongwen", 16, 0);
    Candidates({u8"中文", u8"重温"}, 0, 0, 9);
    EXPECT_EQ(799, list->Right);
    EXPECT_EQ(104, list->Right - list->Left);
    EXPECT_EQ(570, list->Bottom);

    // The result ends the composition, and the input method closes its list.
    Result(u8"中");
    EXPECT_FALSE(CandidatesShown());
    EXPECT_EQ(1, list->GetRef());
    EXPECT_STREQ("中", line->GetText());
}

}  // namespace
