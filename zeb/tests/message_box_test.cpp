// The message box and the input box, run from inside RunMain through the real window: the
// dialog they build as the modal loop shows it, and the answer a click on one of its
// buttons gives. The recording writer makes a character 8 pixels wide and 16 high.
#include "GuiRunFixture.h"

#include <WButton.h>
#include <WInputLine.h>
#include <WMessageBox.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// What the modal loop showed.
struct Shown {
    int width = 0, height = 0;
    std::string caption;
    std::vector<int> buttonX;
    std::vector<DWORD> buttonIds;
    DWORD activeId = 0;
    size_t textBytes = 0;  // of the static text
};
}  // namespace

class BoxTest : public GuiRunTest {
protected:
    // Runs box from a view's handler inside RunMain. On the modal loop's first poll the
    // dialog is recorded, typed is typed into it, and the button with id answer is
    // clicked; answer 0 queues Cancel instead.
    Shown Run(std::function<int()> box, DWORD answer, int* result, const char* typed = "")
    {
        Shown shown;
        bool seen = false;
        Start([&] {
            MyDesktop->AddView(new ScriptView(0, 0, 800, 600, 9, [&](ScriptView*, VlxMessage* e) {
                                   if (e->type == VLX_COMMAND && e->x == 4096) {
                                       ClearEvent(e);
                                       *result = box();
                                       QueueCommand(5);
                                   }
                               }),
                               0);
            QueueCommand(4096);
        });
        input->onPoll = [&](int) {
            auto* dialog = dynamic_cast<WDialog*>(MyDesktop->Active);
            if (!dialog || seen)
                return;
            seen = true;
            shown.width = dialog->Right - dialog->Left;
            shown.height = dialog->Bottom - dialog->Top;
            shown.caption = dialog->Caption;
            shown.activeId = dialog->Active ? dialog->Active->Id : 0;
            for (WView* c = dialog->Child; c; c = c->Next) {
                if (c->Type == WTTButton) {
                    shown.buttonX.push_back(c->Left);
                    shown.buttonIds.push_back(c->Id);
                } else if (c->Type == WTTStaticText) {
                    shown.textBytes = std::strlen(static_cast<WStaticText*>(c)->Text);
                }
            }
            for (const char* t = typed; *t; ++t)
                kvlib::PutTypedChar(WPARAM(static_cast<unsigned char>(*t)));
            WView* button = GetSubView(dialog, answer);
            if (!answer || !button) {
                QueueCommand(2);
                return;
            }
            const int x = button->GetAbsX() + (button->Left + button->Right) / 2;
            const int y = button->GetAbsY() + (button->Top + button->Bottom) / 2;
            input->script = {{x, y, 0}, {x, y, 1}, {x, y, 0}};
        };
        RunMain();
        return shown;
    }
};

TEST_F(BoxTest, MessageBoxesPlaceTheirButtonsAndAnswerTheOneClicked)
{
    struct Case {
        const char* what;
        std::string title, text;
        int flags;
        DWORD answer;
        int width, height;
        std::vector<int> buttonX;
        std::vector<DWORD> ids;
        DWORD active;
        size_t textBytes;
    };
    const std::string info = "\x05";
    const Case cases[] = {
        {"flags 0: one OK, inside a box for it", "T", "x", 0, 1, 125, 108, {22}, {1}, 1, 1},
        {"Yes and No", "Q", "Sure?", 12, 4, 225, 108, {22, 122}, {3, 4}, 4, 5},
        {"all four, an empty middle line", info, "ab\n\ncd", 15, 3, 425, 140,
         {22, 122, 222, 322}, {3, 4, 1, 2}, 2, 6},
        {"the digit 5 is a plain title", "5", "", 2, 2, 125, 108, {22}, {2}, 2, 0},
        {"a text past 2046 bytes is cut", "", std::string(2100, 'x'), 2, 0, 2046 * 8 + 40, 108,
         {8164}, {2}, 2, 2046},
    };
    for (const Case& c : cases) {
        int result = -1;
        const Shown shown = Run(
            [&] { return WMessageBox(c.title.c_str(), c.text.c_str(), c.flags); }, c.answer,
            &result);
        EXPECT_EQ(c.answer ? int(c.answer) : 2, result) << c.what;
        EXPECT_EQ(c.width, shown.width) << c.what;
        EXPECT_EQ(c.height, shown.height) << c.what;
        EXPECT_EQ(c.buttonX, shown.buttonX) << c.what;
        EXPECT_EQ(c.ids, shown.buttonIds) << c.what;
        EXPECT_EQ(c.active, shown.activeId) << c.what;
        EXPECT_EQ(c.textBytes, shown.textBytes) << c.what;
        EXPECT_EQ(c.title == info ? CusCaption[CC_INFORMATION] : c.title, shown.caption) << c.what;
        TearDown();
        SetUp();
    }
}

TEST_F(BoxTest, InputBoxesHandBackTheTextOrTheInitialOne)
{
    struct Case {
        const char* what;
        int flags;
        const char* initial;
        int maxLength;
        const char* typed;
        DWORD answer;
        int result;
        std::string out;
        std::vector<int> buttonX;
        std::vector<DWORD> ids;
    };
    const Case cases[] = {
        {"cancelled after typing", 3, "Ann", 20, "zz", 2, 2, "Ann", {30, 130}, {1, 2}},
        {"accepted", 3, "Ann", 20, "zz", 1, 1, "zzAnn", {30, 130}, {1, 2}},
        {"Yes and No are not offered", 12, "", 20, "", 1, 1, "", {80}, {1}},
        {"an initial text past the limit", 1, "abcdef", 3, "", 1, 1, "abc", {80}, {1}},
    };
    for (const Case& c : cases) {
        int result = -1;
        char out[32] = "junk";
        const Shown shown = Run(
            [&] {
                return WInputBox("Name", "Your name:", c.initial, c.flags, 200, c.maxLength, out,
                                 0, "");
            },
            c.answer, &result, c.typed);
        EXPECT_EQ(c.result, result) << c.what;
        EXPECT_EQ(c.out, out) << c.what;
        EXPECT_EQ(240, shown.width) << c.what;
        EXPECT_EQ(c.buttonX, shown.buttonX) << c.what;
        EXPECT_EQ(c.ids, shown.buttonIds) << c.what;
        EXPECT_EQ(0u, shown.activeId) << c.what << ": the input line has the focus";
        TearDown();
        SetUp();
    }
}
