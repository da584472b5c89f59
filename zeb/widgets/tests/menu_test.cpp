// Menus and the menu bar: opening, switching and closing through events routed by the
// desktop, choosing items, the item and base limits, stored records read back (and
// refused), and the default drawing.
#include "ViewFixture.h"

#include <WDialog.h>
#include <WMenu.h>
#include <WViewLoad.h>
#include <kvException.h>
#include <kvStream.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using zebtest::MouseEvent;
using zebtest::TakeQueuedEvents;

namespace {
// Text is 8 pixels a character and 16 high, so rows are 24 high. The bar lies at (0, 0)
// to (400, 24) on a dialog without caption: "File" spans 3..55, "Edit" 56..108. The File
// menu opens at (3, 25), 80 wide: Open (row 0), a separator, Recent (row 2, opening One
// and Two at (83, 73)), Quit.
struct MenuTree {
    WDialog* dialog;
    WMenuBar* bar;
    WMenu* file;
    WMenu* recent;
    WMenu* edit;
};

MenuTree BuildTree()
{
    MenuTree t;
    t.dialog = new WDialog(0, 0, 400, 300, "", 1);
    t.bar = new WMenuBar(0, 0, 400, 24, true, 2);
    t.file = new WMenu(0, 0, 80, "File", 10);
    t.recent = new WMenu(0, 0, 50, "Recent", 11);
    t.edit = new WMenu(0, 0, 60, "Edit", 12);
    t.recent->AddItem("One", nullptr, 201);
    t.recent->AddItem("Two", nullptr, 202);
    t.file->AddItem("Open", nullptr, 101);
    t.file->AddItem("", nullptr, 102);
    t.file->AddItem("Recent", t.recent, 103);
    t.file->AddItem("Quit", nullptr, 104);
    t.edit->AddItem("Copy", nullptr, 301);
    t.bar->AddBase(t.file);
    t.bar->AddBase(t.edit);
    MyDesktop->AddView(t.dialog, 0);
    t.dialog->AddView(t.bar, 0);
    return t;
}

// One pointer action at (x, y), routed by the desktop; the event as the routing left it.
struct Step {
    int action, x, y;
};
VlxMessage Route(const Step& s)
{
    MouseX = s.x;
    MouseY = s.y;
    VlxMessage e = MouseEvent(s.action, s.action == VLX_MOUSE_MOVE ? 0 : 1);
    MyDesktop->HandleEvent(&e);
    return e;
}

std::vector<int> QueuedCommands()
{
    std::vector<int> out;
    for (const VlxMessage& e : TakeQueuedEvents())
        if (e.type == VLX_COMMAND)
            out.push_back(e.x);
    return out;
}

constexpr int P = VLX_MOUSE_PRESS, M = VLX_MOUSE_MOVE, R = VLX_MOUSE_RELEASE;
}  // namespace

class MenuTest : public ViewTest {};

TEST_F(MenuTest, PointerOpensSwitchesAndClosesMenus)
{
    struct Case {
        const char* what;
        std::vector<Step> steps;
        int openBase;      // afterwards
        bool recentOpen;   // the sub-menu floats on the desktop
        std::vector<int> commands;
        bool lastLeftLive;  // the last event went on past the menus
    };
    const Case cases[] = {
        {"a click opens the base", {{P, 20, 10}}, 0, false, {}, false},
        {"a second click closes it", {{P, 20, 10}, {R, 20, 10}, {P, 20, 10}}, -1, false, {}, false},
        {"a move across the bar switches", {{P, 20, 10}, {M, 70, 10}}, 1, false, {}, false},
        {"a move off every base changes nothing", {{P, 20, 10}, {M, 300, 10}}, 0, false, {}, true},
        {"a press on the bar beside the bases", {{P, 300, 10}}, -1, false, {}, false},
        {"a press outside closes all", {{P, 20, 10}, {M, 40, 80}, {P, 250, 250}}, -1, false, {}, true},
        {"a row with a sub-menu opens it", {{P, 20, 10}, {M, 40, 80}}, 0, true, {}, false},
        {"a press on the sub-menu keeps all", {{P, 20, 10}, {M, 40, 80}, {P, 90, 80}}, 0, true, {}, false},
        {"choosing in the sub-menu", {{P, 20, 10}, {M, 40, 80}, {M, 90, 100}, {R, 90, 100}}, -1, false, {202}, false},
        {"choosing a command row", {{P, 20, 10}, {M, 40, 30}, {R, 40, 30}}, -1, false, {101}, false},
        {"releasing on the separator", {{P, 20, 10}, {M, 40, 55}, {R, 40, 55}}, 0, false, {}, false},
        {"releasing on the sub-menu's row", {{P, 20, 10}, {M, 40, 80}, {R, 40, 80}}, 0, true, {}, false},
        {"moving back closes the sub-menu", {{P, 20, 10}, {M, 40, 80}, {M, 40, 105}}, 0, false, {}, false},
    };
    for (const Case& c : cases) {
        MenuTree t = BuildTree();
        VlxMessage last = {};
        for (const Step& s : c.steps)
            last = Route(s);
        EXPECT_EQ(c.openBase, t.bar->OpenBase) << c.what;
        EXPECT_EQ(c.openBase == 0, t.file->IsOpen()) << c.what;
        EXPECT_EQ(c.openBase == 1, t.edit->IsOpen()) << c.what;
        EXPECT_EQ(c.recentOpen, t.recent->IsOpen()) << c.what;
        EXPECT_EQ(c.commands, QueuedCommands()) << c.what;
        EXPECT_EQ(c.lastLeftLive, last.type != VLX_EMPTY) << c.what;
        // Closing gives back what opening took, and the dialog its focus.
        t.bar->Retreat();
        EXPECT_EQ(1, t.file->GetRef()) << c.what;
        EXPECT_EQ(1, t.recent->GetRef()) << c.what;
        EXPECT_EQ(t.dialog, MyDesktop->Active) << c.what;
        DELETEVIEW(t.dialog);
    }
}

TEST_F(MenuTest, SuppressedCommandsStillCloseAndALayoutChangeClosesLater)
{
    MenuTree t = BuildTree();
    t.bar->SuppressCommands = 1;
    for (const Step& s : {Step{P, 20, 10}, Step{M, 40, 30}, Step{R, 40, 30}})
        Route(s);
    EXPECT_EQ(-1, t.bar->OpenBase);
    EXPECT_TRUE(QueuedCommands().empty());

    // The screen grows while a sub-menu is open; a view after the menus is re-placed too.
    auto* after = new WView(-50, 0, 20, 20, "", "", 0);
    Route({P, 20, 10});
    Route({M, 40, 80});
    MyDesktop->AddView(after, PLACE_NO_ACTIVATE);
    MyDesktop->Right = 1000;
    MyDesktop->Repos();
    EXPECT_EQ(950, after->Left);
    EXPECT_TRUE(t.recent->IsOpen());
    VlxMessage e;
    while (LoadEvent(&e))
        MyDesktop->HandleEvent(&e);
    EXPECT_EQ(-1, t.bar->OpenBase);
    EXPECT_FALSE(t.recent->IsOpen());
    // Menus left open go with the desktop, leaking nothing (the fixture counts views).
    Route({P, 20, 10});
    Route({M, 40, 80});
}

TEST_F(MenuTest, ItemsAndBasesPastThe32ndAreIgnored)
{
    WMenu menu(5, 7, 30, "Long", 0);
    WMenuBar bar(0, 0, 100, 20, true, 0);
    for (int i = 0; i < 33; ++i) {
        menu.AddItem(("item " + std::to_string(i)).c_str(), nullptr, DWORD(i));
        if (i < 32)
            bar.AddBase(new WMenu(0, 0, 10, "B", 0));
    }
    WMenu spare(0, 0, 10, "Spare", 0);  // refused, so it stays this test's
    bar.AddBase(&spare);
    EXPECT_EQ(32, menu.Count);
    EXPECT_STREQ("item 31", menu.Items[31].Text);
    EXPECT_EQ(7 + 24 * 32 + 4, menu.Bottom);
    EXPECT_EQ(5 + 7 * 8 + 12, menu.Right);  // "item 31" is the widest
    EXPECT_EQ(32, bar.Count);
    EXPECT_EQ(1, spare.GetRef());
    menu.DeleteItem(0);
    menu.AddItem("a text much longer than the thirty-one bytes", nullptr, 1);
    EXPECT_STREQ("a text much longer than the thi", menu.Items[31].Text);
}

TEST_F(MenuTest, ABarSavedAndLoadedHasTheSameMenus)
{
    MenuTree t = BuildTree();
    kvStream stream("menus", true, false, false);
    stream.AddBlock(1);
    stream.SetBlock(1);
    t.bar->Save(&stream);
    stream.SetPos(0, 0);
    int32_t type = 0;
    stream.Read(&type, 4);
    EXPECT_EQ(WTTMenuBar, type);
    auto* loaded = new WMenuBar(0, 0, 0, 0, false, 0);
    loaded->Load(&stream);
    ASSERT_EQ(2, loaded->Count);
    EXPECT_EQ(1, loaded->DropDown);
    EXPECT_EQ(56, loaded->Bases[1].LeftX);
    const WMenu* file = loaded->Bases[0].Menu;
    EXPECT_STREQ("File", file->Caption);
    ASSERT_EQ(4, file->Count);
    EXPECT_EQ(1, file->Items[1].Separator);
    EXPECT_EQ(104u, file->Items[3].Command);
    ASSERT_NE(nullptr, file->Items[2].SubMenu);
    EXPECT_STREQ("Two", file->Items[2].SubMenu->Items[1].Text);
    EXPECT_EQ(202u, file->Items[2].SubMenu->Items[1].Command);
    EXPECT_EQ(loaded, file->Items[2].SubMenu->Bar);
    EXPECT_EQ(80, file->Right - file->Left);
    EXPECT_EQ(DWORD(stream.GetCurrentBlock()->pos), stream.GetCurrentBlock()->size);
    delete loaded;
    DELETEVIEW(t.dialog);
}

TEST_F(MenuTest, ADialogLoadsItsBarWithTheViewsAfterIt)
{
    MenuTree t = BuildTree();
    t.dialog->AddView(new WView(5, 40, 10, 10, "", "", 77), 0);
    kvStream stream("dialogs", true, false, false);
    stream.AddBlock(3);
    stream.SetBlock(3);
    t.dialog->SaveAll(&stream);
    auto* loaded = new WDialog(&stream, 3);
    auto* bar = dynamic_cast<WMenuBar*>(GetSubView(loaded, 2));
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(2, bar->Count);
    EXPECT_EQ(2, bar->Bases[0].Menu->Items[2].SubMenu->Count);
    EXPECT_NE(nullptr, GetSubView(loaded, 77)) << "the record after the bar's menus";
    delete loaded;
    DELETEVIEW(t.dialog);
}

TEST_F(MenuTest, RecordsThatCannotBeMenusAreRefused)
{
    struct Case {
        const char* what;
        int depth;      // menus nested in a chain, the outer one first
        int32_t count;  // items claimed by the innermost one
        DWORD nestedType;
        bool refused;
    };
    const Case cases[] = {
        {"nested 16 deep", 16, 1, WTTMenu, false},
        {"nested 17 deep", 17, 1, WTTMenu, true},
        {"33 items", 1, 33, WTTMenu, true},
        {"a negative count", 1, -1, WTTMenu, true},
        {"a button for a sub-menu", 2, 1, WTTButton, true},
    };
    for (const Case& c : cases) {
        kvStream stream("menus", true, false, false);
        stream.AddBlock(1);
        stream.SetBlock(1);
        auto word = [&](int32_t w) { stream.Write(&w, 4); };
        WMenu blank(0, 0, 0, "", 0);
        for (int level = 0; level < c.depth; ++level) {
            blank.Type = level == 0 ? DWORD(WTTMenu) : c.nestedType;
            blank.WView::Save(&stream);
            word(0);  // minimum width
            const bool innermost = level == c.depth - 1;
            word(innermost ? c.count : 1);
            for (int i = 0; i < (innermost ? c.count : 1); ++i) {
                stream.SaveString("item");
                word(7);
                word(innermost ? 0 : 1);
            }
        }
        stream.SetPos(0, 0);
        int32_t type = 0;
        stream.Read(&type, 4);
        WMenu menu(0, 0, 0, "", 0);
        bool refused = false;
        try {
            menu.Load(&stream);
        } catch (kvException* e) {
            refused = true;
            DeleteException(e);
        }
        EXPECT_EQ(c.refused, refused) << c.what;
        // Only the 16-level chain loads; a refusal keeps no half-built sub-menu alive.
        if (!c.refused) {
            EXPECT_NE(nullptr, menu.Items[0].SubMenu) << c.what;
        }
    }
}

namespace {
// True when every line of part appears in log, in this order.
bool InOrder(const DrawLog& log, const DrawLog& part)
{
    size_t at = 0;
    for (const std::string& line : log)
        if (at < part.size() && line == part[at])
            ++at;
    return at == part.size();
}

std::string Bar(int x1, int y1, int x2, int y2, DWORD colour)
{
    return "Bar(" + std::to_string(x1) + "," + std::to_string(y1) + "," + std::to_string(x2) +
           "," + std::to_string(y2) + "," + zebtest::Colour(colour) + ",null)";
}

std::string Text(int x, int y, const char* text, int flags)
{
    return "DrawTextA(" + std::to_string(x) + "," + std::to_string(y) + ",\"" + text +
           "\",flags=" + std::to_string(flags) + ",colour=" +
           zebtest::Colour(ViewPalette[VP_TEXT]) + ")";
}
}  // namespace

TEST_F(MenuTest, DefaultStyleDrawsRowsSeparatorsAndTheHoveredBase)
{
    MenuTree t = BuildTree();
    Route({P, 20, 10});
    Route({M, 40, 30});  // highlights Open
    log.clear();
    t.file->Draw();
    EXPECT_TRUE(InOrder(log, {Bar(4, 26, 82, 124, ViewPalette[VP_INTERIOR]),  // the raised frame
                              Bar(5, 28, 81, 50, ViewPalette[VP_INTERIOR]),  // Open, sunken
                              Text(9, 31, "Open", WTEXT_LEFT),
                              Bar(4, 63, 82, 64, ViewPalette[VP_DARK]),  // the separator
                              Bar(4, 64, 82, 65, ViewPalette[VP_LIGHT]),
                              Text(9, 79, "Recent", WTEXT_LEFT)}));
    EXPECT_EQ(3, std::count_if(log.begin(), log.end(),
                               [](const std::string& l) { return l.rfind("DrawTextA", 0) == 0; }));
    log.clear();
    PointAt(20, 10);
    t.bar->Draw();
    EXPECT_TRUE(InOrder(log, {Bar(0, 0, 400, 1, ViewPalette[VP_DARK]),  // sunken, unfilled
                              Text(29, 4, "File", WTEXT_CENTRE),
                              Bar(3, 2, 55, 3, ViewPalette[VP_LIGHT]),  // raised under the pointer
                              Text(82, 4, "Edit", WTEXT_CENTRE)}));
    EXPECT_EQ(10u, log.size()) << "one hovered frame only";
    DELETEVIEW(t.dialog);
}
