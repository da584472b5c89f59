// Buttons and check boxes driven by mouse events through the queue: the press state
// machine, standard ids, what slave and drag buttons tell their owners, toggling a check
// box by either part, and the default drawing of a button's states.
#include "WidgetFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Log = std::vector<std::string>;

namespace {
struct Step {
    int x, y, action, buttons;
};
constexpr int kIn = 30, kOut = 200;
}  // namespace

class ButtonTest : public WidgetTest {};

TEST_F(ButtonTest, OnlyALeftPressReleasedInsideFiresAndOnlyOnce)
{
    struct Case {
        const char* what;
        int command;
        std::vector<Step> steps;
        Log expected;
    };
    const Case cases[] = {
        {"click", 42, {{kIn, kIn, 1, 1}, {kIn, kIn, 3, 1}}, {"42 from nobody"}},
        {"out and released outside", 42, {{kIn, kIn, 1, 1}, {kOut, kIn, 2, 1}, {kOut, kIn, 3, 1}}, {}},
        {"out and back in", 42,
         {{kIn, kIn, 1, 1}, {kOut, kIn, 2, 1}, {kIn, kIn, 2, 1}, {kIn, kIn, 3, 1}, {kIn, kIn, 3, 1}},
         {"42 from nobody"}},
        {"right button", 42, {{kIn, kIn, 1, 2}, {kIn, kIn, 3, 2}}, {}},
        {"two buttons", 42, {{kIn, kIn, 1, 3}, {kIn, kIn, 3, 3}}, {}},
        {"pressed outside", 42, {{kOut, kIn, 1, 1}, {kIn, kIn, 3, 1}}, {}},
        {"command 0", 0, {{kIn, kIn, 1, 1}, {kIn, kIn, 3, 1}}, {}},
    };
    for (const Case& c : cases) {
        auto* button = new WButton(10, 10, 60, 40, "Go", "", c.command, 7);
        dialog->AddView(button, 0);
        commands.clear();
        for (const Step& s : c.steps)
            Mouse(s.x, s.y, s.action, s.buttons);
        EXPECT_EQ(c.expected, commands) << c.what;
        EXPECT_FALSE(button->State & VS_BUTTON_DOWN) << c.what;
        DELETEVIEW(button);  // a linked view leaves its parent as it goes
    }
}

TEST_F(ButtonTest, StandardIdTakesItsCaptionAndCommand)
{
    auto* cancel = new WButton(10, 10, 60, 40, "Go", "", 99, 2);
    dialog->AddView(cancel, 0);
    EXPECT_STREQ("Cancel", cancel->Caption);
    Click(kIn, kIn);
    EXPECT_EQ(Log{"2 from nobody"}, commands);
}

TEST_F(ButtonTest, SlaveAndDragButtonsTellTheirOwnerAtOnce)
{
    auto* slave = new WSlaveButton(10, 10, 60, 40, "s", 0);
    dialog->AddView(slave, 0);
    Click(kIn, kIn);
    EXPECT_EQ(Log{"0 from nobody"}, commands) << "a slave sends even command 0";
    EXPECT_EQ(0, GetEventCount());
    DELETEVIEW(slave);

    auto* drag = new WDragButton(100, 100, 20, 20);
    drag->Id = 9;
    dialog->AddView(drag, 0);
    commands.clear();
    Mouse(105, 108, VLX_MOUSE_PRESS);
    EXPECT_EQ(5, drag->GrabX);
    EXPECT_EQ(8, drag->GrabY);
    Mouse(150, 160, VLX_MOUSE_MOVE);
    Mouse(150, 160, VLX_MOUSE_DRAGSTART);
    Mouse(150, 160, VLX_MOUSE_RELEASE);
    Mouse(150, 160, VLX_MOUSE_DROP);
    EXPECT_EQ((Log{"8 from 9", "8 from 9", "8 from 9", "9 from 9"}), commands)
        << "8 on the press and every event while held, one 9 on release";
    drag->Reposition(40, 50);
    EXPECT_EQ(40, drag->Left);
    EXPECT_EQ(70, drag->Bottom);
    EXPECT_EQ(40, drag->OriginX);
}

TEST_F(ButtonTest, CheckBoxTogglesByEitherPartAndStoresItsState)
{
    auto* box = new WCheckBox(10, 10, 120, 50, "Sound", 3);
    dialog->AddView(box, 0);
    EXPECT_EQ(16, box->Bottom - box->Top) << "one text line high";
    EXPECT_FALSE(box->GetCheck());
    Click(15, 18);  // the small button
    EXPECT_TRUE(box->GetCheck());
    Click(60, 18);  // the label
    EXPECT_FALSE(box->GetCheck());
    Click(60, 18);
    EXPECT_EQ((Log{"16 from 3", "16 from 3", "16 from 3"}), commands);

    BlockRecords rec;
    box->Save(&rec.stream);
    WCheckBox loaded(0, 0, 0, 0, "", 0);
    rec.Stream()->SetPos(0, 4);
    loaded.Load(&rec.stream);
    loaded.AfterLoad();
    EXPECT_TRUE(loaded.GetCheck());
    EXPECT_STREQ("Sound", loaded.Label->Text);
}

TEST_F(ButtonTest, ItsCommentShowsOnceThePointerHasRestedOnIt)
{
    auto* button = new WButton(10, 10, 60, 40, "Go", "tip", 0, 0);
    dialog->AddView(button, 0);
    PointAt(kIn, kIn);
    button->HoverTime = 1000;
    TimeStamp = 1000 + DelayTime + 1;
    button->Draw();
    EXPECT_TRUE(MyDesktop->State & VS_COMMENT_SHOWN);
    EXPECT_STREQ("tip", MyDesktop->Comment);
}

TEST_F(ButtonTest, DefaultDrawingFollowsHoverPressAndStyle)
{
    const std::string caption = "DrawTextA(40,22,\"Go\",flags=6,colour=";
    struct Case {
        const char* what;
        BYTE style;
        DWORD state;
        bool hovered;
        size_t bars;  // frame bars drawn before the caption
        std::string text;
    };
    const Case cases[] = {
        {"flat style, not hovered", 1, 0, false, 0, caption + C(VP_HIGHLIGHT_TEXT) + ")"},
        {"flat style, hovered", 1, 0, true, 5, caption + C(VP_HIGHLIGHT_TEXT) + ")"},
        {"pressed", 1, VS_BUTTON_DOWN | VS_BUTTON_HELD, true, 5,
         "DrawTextA(41,23,\"Go\",flags=6,colour=" + C(VP_HIGHLIGHT_TEXT) + ")"},
        {"pressed, pointer outside", 1, VS_BUTTON_DOWN, false, 0, caption + C(VP_HIGHLIGHT_TEXT) + ")"},
        {"framed style", 2, 0, false, 5, caption + C(VP_HIGHLIGHT_TEXT) + ")"},
        {"disabled", 2, VS_DISABLED, false, 5, caption + C(VP_DISABLED_TEXT) + ")"},
    };
    auto* button = new WButton(10, 10, 60, 40, "Go", "", 0, 0);
    dialog->AddView(button, 0);
    for (const Case& c : cases) {
        button->Style = c.style;
        button->State = (button->State & VS_ACTIVE) | c.state;
        PointAt(c.hovered ? kIn : kOut, kIn);
        log.clear();
        button->Draw();
        ASSERT_EQ(c.bars + 1, log.size()) << c.what;
        EXPECT_EQ(c.text, log.back()) << c.what;
        EXPECT_EQ(c.hovered, button->Hover != 0) << c.what;
    }
}
