// List boxes, scroll bars, sliders and combo boxes driven by mouse events through the
// queue: selection and content reports, the bar that comes and goes with the page, the
// wheel and the thumb, snapping, and dropping a combo box's list below or above it.
// The recording font makes a row 16 pixels high and a Latin character 8 wide.
#include "WidgetFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Log = std::vector<std::string>;

class ListTest : public WidgetTest {
protected:
    // A list of page 4 at (10, 10), 100 x 81, holding n rows "row 0", "row 1", ...
    WListBox* AddList(int n)
    {
        auto* list = new WListBox(10, 10, 100, 81, 40, 20);
        for (int i = 0; i < n; ++i)
            list->AddString(WSL_APPEND, ("row " + std::to_string(i)).c_str());
        dialog->AddView(list, 0);
        list->Draw();
        return list;
    }
    // The texts of the rows a draw wrote.
    std::vector<std::string> DrawnRows(WListBox* list)
    {
        log.clear();
        list->Draw();
        std::vector<std::string> rows;
        for (const std::string& line : log)
            if (line.rfind("DrawTextA(13,", 0) == 0)
                rows.push_back(line.substr(line.find('"') + 1, line.rfind('"') - line.find('"') - 1));
        return rows;
    }
};

TEST_F(ListTest, BarShowsWhileThereIsMoreThanAPage)
{
    WListBox* list = AddList(10);
    EXPECT_EQ(4, list->Strings->rows);
    EXPECT_FALSE(list->ScrollBar->State & VS_HIDDEN);
    EXPECT_EQ(92, list->Right) << "the bar takes its width from the list";
    for (int i = 0; i < 8; ++i)
        list->DeleteString(0);
    list->Draw();
    EXPECT_TRUE(list->ScrollBar->State & VS_HIDDEN);
    EXPECT_EQ(110, list->Right) << "the list widens again";
}

TEST_F(ListTest, PickingALineAndChangingTheContentsAreReported)
{
    WListBox* list = AddList(3);
    Mouse(30, 30, VLX_MOUSE_PRESS);
    EXPECT_EQ(1, list->GetIndex());
    list->AddString(WSL_APPEND, "more");
    Mouse(30, 30, VLX_MOUSE_RELEASE);
    EXPECT_EQ((Log{"11 from 20", "11 from 20 y 1"}), commands);
}

TEST_F(ListTest, WheelAndThumbScroll)
{
    WListBox* list = AddList(10);
    MouseWheel = -1;
    Mouse(30, 30, VLX_MOUSE_MOVE, 4);
    MouseWheel = 0;
    EXPECT_EQ((std::vector<std::string>{"row 1", "row 2", "row 3", "row 4"}), DrawnRows(list))
        << "the wheel turned toward the user scrolls down a line";

    WView* thumb = list->ScrollBar->Thumb;
    const int thumbTop = thumb->GetAbsY() + thumb->Top;
    Mouse(100, thumbTop + 5, VLX_MOUSE_PRESS);
    Mouse(100, 400, VLX_MOUSE_MOVE);
    Mouse(100, 400, VLX_MOUSE_RELEASE);
    EXPECT_EQ(6, list->ScrollBar->TopIndex) << "dragged to the bottom: count - page";
    EXPECT_EQ(91 - 18 - 18, thumb->GetAbsY() + thumb->Top) << "the thumb rests on the down button";
    EXPECT_EQ("row 6", DrawnRows(list).front());
}

TEST_F(ListTest, ShortenedRowsEndInDotsAndShowTheirFullTextAsComment)
{
    auto* list = new WListBox(10, 10, 100, 81, 40, 20);
    list->AddString(WSL_APPEND, "short");
    const std::string wide(70, 'w');
    list->AddString(WSL_APPEND, wide.c_str());
    dialog->AddView(list, 0);
    PointAt(50, 30);
    EXPECT_EQ((std::vector<std::string>{"short", "wwwwwwwww..."}), DrawnRows(list));
    EXPECT_EQ(std::string(60, 'w') + "...", list->Comment);
    EXPECT_EQ(1, list->HoveredRow);
    EXPECT_EQ(10, list->CommentX);
    EXPECT_EQ(26, list->CommentY);
    EXPECT_NE(log.end(), std::find(log.begin(), log.end(), "Bar(11,11,109,27," + C(VP_SELECTED_ROW) + ",null)"))
        << "the selected row has its bar";
}

TEST_F(ListTest, SliderSnapsToItsStepsAndReportsOnlyChanges)
{
    auto* slider = new WSlider(nullptr, 10, 200, 110, 4, 30);
    dialog->AddView(slider, 0);
    Mouse(15, 210, VLX_MOUSE_PRESS);
    std::vector<int> lefts;
    for (int x : {27, 30, 45, 55, 85, 120, 300}) {
        Mouse(x, 210, VLX_MOUSE_MOVE);
        lefts.push_back(slider->Thumb->Left);
    }
    Mouse(300, 210, VLX_MOUSE_RELEASE);
    EXPECT_EQ((std::vector<int>{0, 25, 25, 50, 75, 100, 100}), lefts);
    EXPECT_EQ((Log{"8 from 30", "8 from 30", "8 from 30", "8 from 30", "9 from 30"}), commands);
    EXPECT_EQ(4, slider->Value);
}

TEST_F(ListTest, ComboBoxOpensWhereThereIsRoomAndReportsThePick)
{
    struct Case {
        const char* what;
        int screenY;
        int strings;
        bool opens;
        int listTop;  // on the screen, while dropped
    };
    const Case cases[] = {
        {"room below", 600, 3, true, 270},
        {"near the bottom", 300, 3, true, 250 - 69},
        {"one string", 600, 1, false, 0},
    };
    for (const Case& c : cases) {
        ScreenY = c.screenY;
        auto* combo = new WComboBox(10, 250, 100, 20, 4, 8, 40);
        for (int i = 0; i < c.strings; ++i)
            combo->AddString(WSL_APPEND, ("line " + std::to_string(i)).c_str());
        dialog->AddView(combo, 0);
        commands.clear();
        Click(30, 255);
        ASSERT_EQ(c.opens, combo->Dropped != 0) << c.what;
        if (c.opens) {
            WListBox* list = combo->List;
            EXPECT_EQ(c.listTop, list->GetAbsY() + list->Top) << c.what;
            Mouse(30, c.listTop + 1 + 2 * 17 + 3, VLX_MOUSE_PRESS);
            Mouse(30, c.listTop + 1 + 2 * 17 + 3, VLX_MOUSE_RELEASE);
            EXPECT_FALSE(combo->Dropped) << c.what;
            EXPECT_EQ(2, combo->GetIndex()) << c.what;
            // The list reports its new rows once it first sees an event, then the pick
            // passes on as the box's.
            EXPECT_EQ((Log{"11 from 0 y 1", "11 from 40"}), commands) << c.what;
            Click(30, 255);
            Click(300, 20);
            EXPECT_FALSE(combo->Dropped) << c.what << ": any press closes it";
            EXPECT_EQ(2u, commands.size()) << c.what << ": closing picks nothing";
        } else {
            EXPECT_EQ(Log{}, commands) << c.what;
        }
        DELETEVIEW(combo);
    }
}
