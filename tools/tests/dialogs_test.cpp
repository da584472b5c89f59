// The shipped resource file as the game reads it: opened with the game's identity text,
// each of the four views built with WDialog(stream, id), their combo boxes and commands,
// and where they land in both editions: the panel clear of the board and the HUD, the
// background dialog inside the board a paused round leaves empty, everything on screen.
#include <KvrText.h>
#include <ResourceIdentity.h>

#include <BoardEdition.h>
#include <DifficultyInfo.h>
#include <WButton.h>
#include <WComboBox.h>
#include <WDialog.h>
#include <WListBox.h>
#include <kvFileStream.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr DWORD kBackground = 32768, kPanel = 32769, kMainForm = 32770, kScreen = 32771,
                kScores = 32772;

struct Rect {
    int left, top, right, bottom;
    bool Overlaps(const Rect& o) const
    {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    bool Inside(const Rect& o) const
    {
        return left >= o.left && top >= o.top && right <= o.right && bottom <= o.bottom;
    }
};

std::unique_ptr<kvFileStream> OpenShipped()
{
    // Texts measure as in the game's 16-pixel font, so caption bars have the game's height.
    static const bool measured = (SetOutText(new kvrc::MeasuringText), true);
    (void)measured;
    return std::make_unique<kvFileStream>(VEXA_RUNTIME_TREE "VexaTessel.kvr", "rb", true,
                                          RESOURCE_IDENTITY_TEXT);
}

void CollectButtons(WView* view, std::vector<WButton*>* buttons)
{
    for (WView* v = view->Child; v; v = v->Next) {
        if (v->Type == WTTButton)
            buttons->push_back(static_cast<WButton*>(v));
        CollectButtons(v, buttons);
    }
}

TEST(ShippedDialogs, LoadWithTheGamesIdentityAndVersion)
{
    auto stream = OpenShipped();
    ASSERT_TRUE(stream->SetBlock(RESOURCE_VERSION_BLOCK));
    uint32_t version = 0;
    stream->Read(&version, 4);
    EXPECT_EQ(version, uint32_t(RESOURCE_FORMAT_VERSION));
    for (DWORD id : {kBackground, kPanel, kMainForm, kScreen, kScores}) {
        WDialog dialog(stream.get(), id);
        EXPECT_EQ(dialog.Id, id);
        EXPECT_EQ(dialog.Type, DWORD(WTTDialog));
    }
}

struct DialogCommands {
    DWORD id;
    std::set<int> commands; // every button's command, exactly
};

TEST(ShippedDialogs, ButtonsPostTheGamesCommandsAndSayWhatTheyDo)
{
    const DialogCommands rows[] = {
        {kBackground, {2}},
        {kMainForm, {4100, 4096, 4102, 5}},
        {kScores, {2}},
        {kPanel, {4097, 4098, 4099, 4101, 2}},
        {kScreen, {}},
    };
    auto stream = OpenShipped();
    for (const DialogCommands& row : rows) {
        SCOPED_TRACE(row.id);
        WDialog dialog(stream.get(), row.id);
        std::vector<WButton*> buttons;
        CollectButtons(&dialog, &buttons);
        std::set<int> commands;
        for (WButton* b : buttons) {
            commands.insert(b->Command);
            EXPECT_NE(b->Comment[0], 0) << "button " << b->Id << " has no tooltip";
            EXPECT_TRUE(b->Id < 1 || b->Id > 4)
                << "a standard id would replace caption and command";
        }
        EXPECT_EQ(commands, row.commands);
    }
    // The panel's buttons show the costs the round charges and name the game screen's key
    // for the same command.
    struct PanelButton {
        int command;
        const char* cost; // in the caption, or null
        const char* key;  // in the comment
    };
    const PanelButton panelButtons[] = {
        {4097, "300", "F"},   {4098, "150", "H"}, {4099, nullptr, "P"},
        {4101, nullptr, "S"}, {2, nullptr, "X"},
    };
    WDialog panel(stream.get(), kPanel);
    std::vector<WButton*> buttons;
    CollectButtons(&panel, &buttons);
    for (const PanelButton& row : panelButtons)
        for (WButton* b : buttons)
            if (b->Command == row.command) {
                SCOPED_TRACE(row.command);
                if (row.cost) {
                    EXPECT_NE(std::string(b->Caption).find(row.cost), std::string::npos);
                }
                EXPECT_NE(std::string(b->Comment).find(std::string(row.key) + " 键"),
                          std::string::npos);
            }
}

TEST(ShippedDialogs, ComboBoxesListTheBackgroundsAndTheDifficulties)
{
    auto stream = OpenShipped();
    WDialog background(stream.get(), kBackground);
    auto* backgrounds = static_cast<WComboBox*>(GetSubView(&background, 4096));
    ASSERT_NE(backgrounds, nullptr);
    ASSERT_EQ(backgrounds->Type, DWORD(WTTComboBox));
    EXPECT_EQ(backgrounds->List->Strings->count, 3);

    WDialog form(stream.get(), kMainForm);
    auto* levels = static_cast<WComboBox*>(GetSubView(&form, 4097));
    ASSERT_NE(levels, nullptr);
    ASSERT_EQ(levels->Type, DWORD(WTTComboBox));
    const WStringList* names = levels->List->Strings;
    ASSERT_EQ(names->count, DIFFICULTY_COUNT);
    for (int i = 0; i < DIFFICULTY_COUNT; ++i)
        EXPECT_STREQ(names->strings[i], DIFFICULTY_TABLE[i].name) << "index " << i;
    EXPECT_GE(levels->Lines, DIFFICULTY_COUNT) << "every level shows without scrolling";
}

struct Edition {
    const BoardEdition* board;
    Rect hud; // the HUD column: upper panel to lower panel
};

// Each dialog placed on a stand-in desktop of the edition's size, with its stored
// placement, as the game attaches it; rectangles in window pixels.
class Placed {
  public:
    Placed(kvFileStream* stream, const BoardEdition& e, DWORD id)
        : desktop(0, 0, e.windowWidth, e.windowHeight, "", "", 0), dialog(new WDialog(stream, id))
    {
        desktop.AddView(dialog, int(dialog->Placement));
    }
    Rect Frame() const { return {dialog->Left, dialog->Top, dialog->Right, dialog->Bottom}; }

  private:
    WView desktop; // releases the dialog

  public:
    WDialog* dialog;
};

TEST(ShippedDialogs, SitRightInBothEditions)
{
    const Edition editions[] = {
        {&EDITION_WINDOWED, {705, 30, 890, 580}},
        {&EDITION_FULLSCREEN, {815, 50, 1000, 600}},
    };
    auto stream = OpenShipped();
    for (const Edition& e : editions) {
        const BoardEdition& b = *e.board;
        SCOPED_TRACE(b.windowWidth);
        const Rect screen{0, 0, b.windowWidth, b.windowHeight};
        const Rect board{b.boardLeft, b.boardTop, b.boardLeft + 8 * b.pitchX,
                         b.boardTop + 8 * b.pitchY};

        Placed panel(stream.get(), b, kPanel);
        EXPECT_TRUE(panel.Frame().Inside(screen));
        EXPECT_FALSE(panel.Frame().Overlaps(board));
        EXPECT_FALSE(panel.Frame().Overlaps(e.hud));

        Placed background(stream.get(), b, kBackground);
        EXPECT_TRUE(background.Frame().Inside(board));

        Placed form(stream.get(), b, kMainForm);
        EXPECT_TRUE(form.Frame().Inside(screen));
        Placed scores(stream.get(), b, kScores);
        EXPECT_TRUE(scores.Frame().Inside(screen));

        // The hit test includes the edges: right = width and bottom = height - 1 cover
        // every pixel of the window.
        Placed game(stream.get(), b, kScreen);
        EXPECT_EQ(game.Frame().left, 0);
        EXPECT_EQ(game.Frame().top, 0);
        EXPECT_EQ(game.Frame().right, b.windowWidth);
        EXPECT_EQ(game.Frame().bottom, b.windowHeight - 1);

        // Every control lies inside the client area of its dialog.
        for (const Placed* p : {&panel, &background, &form, &scores}) {
            const WDialog* d = p->dialog;
            const Rect client{0, 0, d->GetWidth(), d->GetHeight()};
            for (const WView* v = d->Child; v; v = v->Next)
                EXPECT_TRUE(Rect({v->Left, v->Top, v->Right, v->Bottom}).Inside(client))
                    << "view " << v->Id << " of dialog " << d->Id;
        }
    }
}

} // namespace
