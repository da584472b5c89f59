// The input line driven through the desktop: typed bytes through the runtime's buffer,
// keys and presses as events, scrolling, the record and the default drawing. The
// recording writer makes a single-byte character 8 pixels wide and a double-byte one 16.
#include "ViewFixture.h"

#include <WInputLine.h>
#include <kvStream.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using zebtest::KeyEvent;
using zebtest::MouseEvent;
using zebtest::TakeQueuedEvents;

namespace {

constexpr int kBack = 14, kEnter = 28, kHome = 199, kLeft = 203, kRight = 205, kEnd = 207,
              kDel = 211;

// One step of a script: bytes typed one per event, or a key.
struct Step {
    const char* typed;
    int key;
};
Step T(const char* bytes) { return {bytes, 0}; }
Step K(int code) { return {nullptr, code}; }

class InputLineTest : public ViewTest {
  protected:
    WInputLine* Make(DWORD mode, int width = 200, int maxLength = 64, const char* refused = "")
    {
        line = new WInputLine(100, 50, width, maxLength, 4200, mode, true, 7);
        line->SetRefused(refused);
        MyDesktop->AddView(line, 0);
        return line;
    }
    void Run(const std::vector<Step>& steps)
    {
        for (const Step& s : steps) {
            if (s.typed) {
                for (const char* c = s.typed; *c; ++c) {
                    kvlib::PutTypedChar(WPARAM(static_cast<unsigned char>(*c)));
                    VlxMessage none = {};
                    MyDesktop->HandleEvent(&none);
                }
            } else {
                VlxMessage key = KeyEvent(s.key);
                MyDesktop->HandleEvent(&key);
            }
        }
    }
    WInputLine* line = nullptr;
};

struct TypingCase {
    const char* name;
    DWORD mode;
    int maxLength;
    const char* refused;
    std::vector<Step> steps;
    const char* text;
    int cursor;
};

TEST_F(InputLineTest, TypingAndEditingKeys)
{
    const TypingCase cases[] = {
        {"integer: minus only first, no dot", 2, 64, "", {T("-12.5")}, "-125", 4},
        {"integer: minus away from the start refused", 2, 64, "", {T("1-2a")}, "12", 2},
        {"decimal: second dot refused, back after deleting the first", 3, 64, "",
         {T("1.2.3"), K(kBack), K(kBack), K(kBack), T(".5")}, "1.5", 3},
        {"refused set in text mode", 0, 64, "x ", {T("ax b")}, "ab", 2},
        {"refused set in numeric mode", 2, 64, "5", {T("151")}, "11", 2},
        {"byte limit", 0, 3, "", {T("abcd")}, "abc", 3},
        {"double-byte character joined from two bytes", 0, 64, "", {T("a\xD6\xD0")}, "a中", 2},
        {"stray lead byte dropped before ASCII", 0, 64, "", {T("\xD6" "1\x80" "2")}, "12", 2},
        {"double-byte character past the byte limit refused", 0, 3, "", {T("ab\xD6\xD0")}, "ab", 2},
        {"Home and Delete", 0, 64, "", {T("abc"), K(kHome), K(kDel)}, "bc", 0},
        {"End, Left, Backspace", 0, 64, "", {T("abc"), K(kEnd), K(kLeft), K(kBack)}, "ac", 1},
        {"Right stops at the end, Left at the start", 0, 64, "",
         {T("ab"), K(kRight), K(kHome), K(kLeft), K(kRight)}, "ab", 1},
        {"insertion in the middle", 0, 64, "", {T("ac"), K(kLeft), T("b")}, "abc", 2},
        {"Backspace at the first visible character does nothing", 0, 64, "",
         {T("ab"), K(kHome), K(kBack)}, "ab", 0},
    };
    for (const TypingCase& c : cases) {
        SCOPED_TRACE(c.name);
        Make(c.mode, 200, c.maxLength, c.refused);
        Run(c.steps);
        EXPECT_STREQ(c.text, line->GetText());
        EXPECT_EQ(c.cursor, line->Cursor);
        DELETEVIEW(line);
    }
}

TEST_F(InputLineTest, HandledKeysAreConsumedAndEnterPostsTheCommandEvenWhenEmpty)
{
    Make(0);
    for (int code : {kBack, kEnter, kHome, kLeft, kRight, kEnd, kDel}) {
        VlxMessage key = KeyEvent(code);
        MyDesktop->HandleEvent(&key);
        EXPECT_EQ(VLX_EMPTY, key.type) << "key " << code;
    }
    VlxMessage other = KeyEvent(30);
    MyDesktop->HandleEvent(&other);
    EXPECT_EQ(VLX_KEY, other.type);
    const std::vector<VlxMessage> queued = TakeQueuedEvents();
    ASSERT_EQ(1u, queued.size());
    EXPECT_EQ(VLX_COMMAND, queued[0].type);
    EXPECT_EQ(4200, queued[0].x);
    EXPECT_EQ(line, GetEventSource(&queued[0]));
}

TEST_F(InputLineTest, TypingPastTheWidthScrollsAndTheCursorStaysInside)
{
    // 40 pixels leave 36 for text: four 8-pixel characters.
    Make(0, 40);
    Run({T("abcdefgh")});
    EXPECT_EQ(4, line->FirstVisible);
    Run({K(kHome), K(kEnd)});
    EXPECT_EQ(8, line->Cursor);
    EXPECT_LE(line->CursorX, 36);
    EXPECT_GE(line->FirstVisible, 4);
    // Deleting from the end brings hidden text back from the left.
    Run({K(kBack), K(kBack), K(kBack), K(kBack)});
    EXPECT_STREQ("abcd", line->GetText());
    EXPECT_EQ(0, line->FirstVisible);
}

TEST_F(InputLineTest, APressPlacesTheCursorAtTheNearestBoundary)
{
    Make(0);
    line->ChangeText("abcd");
    // The text starts at x = 100 + 2; each character is 8 pixels wide.
    const struct {
        int x;
        int cursor;
    } cases[] = {{101, 0}, {102 + 9, 1}, {102 + 20, 2}, {298, 4}};
    for (const auto& c : cases) {
        PointAt(c.x, 55);
        VlxMessage press = MouseEvent(VLX_MOUSE_PRESS, 1);
        MyDesktop->HandleEvent(&press);
        EXPECT_EQ(c.cursor, line->Cursor) << "x " << c.x;
        EXPECT_EQ(VLX_EMPTY, press.type);
    }
}

TEST_F(InputLineTest, APressOnAnEmptyLineIsItsOwnAndKeepsTheFocus)
{
    // A view below the line, as a background picture lies below a dialog.
    auto* below = new zebtest::ProbeView("below", &events, 0, 0, 800, 600);
    MyDesktop->AddView(below, PLACE_NO_ACTIVATE);
    Make(0);
    PointAt(150, 55);
    VlxMessage press = MouseEvent(VLX_MOUSE_PRESS, 1);
    MyDesktop->HandleEvent(&press);
    EXPECT_EQ(VLX_EMPTY, press.type);
    EXPECT_TRUE(line->State & VS_ACTIVE);
    EXPECT_FALSE(below->State & VS_ACTIVE);
}

TEST_F(InputLineTest, ChangeTextCutsAtACharacterBoundary)
{
    Make(0);
    std::string longText = "a";
    for (int i = 0; i < 150; ++i)
        longText += "中";
    line->ChangeText(longText.c_str());
    EXPECT_EQ(255u, std::strlen(line->GetText()));
    EXPECT_EQ(128, line->Length());
    longText = longText.substr(1) + "-.";
    line->ChangeText(longText.c_str());
    EXPECT_EQ(254u, std::strlen(line->GetText())) << "the odd byte left over stays empty";
    EXPECT_FALSE(line->HasDot);
}

TEST_F(InputLineTest, RecordKeepsLimitCommandModeTextAndRefusedSet)
{
    Make(3, 120, 12, "ab");
    line->ChangeText("-1.5");
    kvStream stream("views", true, false, false);
    stream.AddBlock(1);
    line->Save(&stream);
    stream.SetPos(0, 0);
    int32_t type = 0;
    stream.Read(&type, 4);
    EXPECT_EQ(WTTInputLine, type);

    WInputLine loaded(0, 0, 0, 0, 0, 0, false, 0);
    loaded.Load(&stream);
    EXPECT_EQ(12, loaded.MaxLength);
    EXPECT_EQ(4200, loaded.Command);
    EXPECT_EQ(3, loaded.Mode);
    EXPECT_STREQ("-1.5", loaded.GetText());
    EXPECT_STREQ("ab", loaded.Refused);
    EXPECT_TRUE(loaded.HasDot && loaded.HasMinus);
    EXPECT_FALSE(loaded.IMEEnabled);
}

TEST_F(InputLineTest, DrawingShowsTheSelectionTheCompositionLineAndTheCaret)
{
    Make(1);
    line->ChangeText("abcd");
    line->Cursor = 3;
    line->TargetStart = 1;
    line->TargetEnd = 2;
    line->CompStart = 0;
    line->CompEnd = 3;
    bCursorSparkle = true;
    log.clear();
    line->Draw();
    // The field is (100, 50)-(300, 70); text from x = 102.
    const std::vector<std::string> expected = {
        "Bar(110,51,126,68," + C(11) + ",null)",
        "DrawTextA(110,52,\"bc\",flags=0,colour=" + C(10) + ")",
        "Bar(102,67,134,68," + C(12) + ",null)",
        "Bar(126,52,128,68," + C(9) + ",null)",
    };
    for (const std::string& e : expected)
        EXPECT_NE(std::find(log.begin(), log.end(), e), log.end()) << e;
    EXPECT_EQ(24, line->CursorX);
}

}  // namespace
