// Default event routing: who sees an event and in what order, consumed events, click
// activation, the hover clock, handlers that change the tree while an event travels, and
// WSendMessage.
#include "ViewFixture.h"

#include <WDialog.h>
#include <WGroup.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using zebtest::KeyEvent;
using zebtest::MouseEvent;
using zebtest::ProbeView;
using Names = std::vector<std::string>;

namespace {
// Four children of the desktop: a, b, c, d, attached in that order (d ends up active).
struct OrderCase {
    const char* what;
    const char* priority; // names of children with the priority bit
    const char* mode2;    // names of children that also take consumed events
    const char* disabled;
    const char* consumer; // the child that clears the event, or ""
    Names expected;
};
std::ostream& operator<<(std::ostream& os, const OrderCase& c)
{
    return os << c.what;
}

bool Has(const char* set, const std::string& name)
{
    return std::string(set).find(name) != std::string::npos;
}

const OrderCase kOrderCases[] = {
    {"active, then priority, then the rest with the priority one again",
     "b",
     "",
     "",
     "",
     {"d", "b", "a", "b", "c"}},
    {"no priority children: active first, then list order", "", "", "", "", {"d", "a", "b", "c"}},
    {"an active priority child gets it once", "d", "", "", "", {"d", "a", "b", "c"}},
    {"consumed by the active child reaches only mode 2 children",
     "b",
     "ac",
     "",
     "d",
     {"d", "a(consumed)", "c(consumed)"}},
    {"consumed by a priority child", "b", "a", "", "b", {"d", "b", "a(consumed)"}},
    {"a second priority child does not get an event the first consumed",
     "bc",
     "",
     "",
     "b",
     {"d", "b"}},
    {"a disabled active child is skipped", "b", "", "d", "", {"b", "a", "b", "c"}},
    {"disabled children get nothing, even when they ask for consumed events",
     "b",
     "a",
     "ab",
     "d",
     {"d"}},
};

class RoutingOrderTest : public ViewTest, public ::testing::WithParamInterface<OrderCase> {};
} // namespace

TEST_P(RoutingOrderTest, DeliversInRoutingOrder)
{
    const OrderCase& c = GetParam();
    for (const char* name : {"a", "b", "c", "d"}) {
        auto* v = new ProbeView(name, &events);
        if (Has(c.priority, name))
            v->State |= VS_PRIORITY;
        if (Has(c.mode2, name))
            v->EventMode = 2;
        if (Has(c.disabled, name))
            v->State |= VS_DISABLED;
        if (Has(c.consumer, name))
            v->onEvent = [](VlxMessage* e) { ClearEvent(e); };
        MyDesktop->AddView(v, 0);
    }
    VlxMessage e = KeyEvent(30);
    MyDesktop->HandleEvent(&e);
    EXPECT_EQ(c.expected, events);
}
INSTANTIATE_TEST_SUITE_P(Cases, RoutingOrderTest, ::testing::ValuesIn(kOrderCases));

TEST_F(ViewTest, ConsumedEventsGoDownOnlyThroughMode2Views)
{
    auto* a = new ProbeView("a", &events, 0, 0, 100, 100);
    auto* a1 = new ProbeView("a1", &events);
    auto* a2 = new ProbeView("a2", &events);
    auto* c = new ProbeView("c", &events, 0, 0, 100, 100);
    auto* c2 = new ProbeView("c2", &events);
    auto* d = new ProbeView("d", &events);
    a->EventMode = 2;
    a2->EventMode = 2;
    c2->EventMode = 2;
    MyDesktop->AddView(a, 0);
    a->AddView(a1, PLACE_NO_ACTIVATE);
    a->AddView(a2, PLACE_NO_ACTIVATE);
    MyDesktop->AddView(c, 0);
    c->AddView(c2, 0);
    MyDesktop->AddView(d, 0);
    d->onEvent = [](VlxMessage* e) { ClearEvent(e); };
    VlxMessage e = KeyEvent(30);
    MyDesktop->HandleEvent(&e);
    EXPECT_EQ((Names{"d", "a(consumed)", "a2(consumed)"}), events);
    EXPECT_EQ(VLX_EMPTY, e.type);
}

namespace {
struct ClickCase {
    const char* what;
    int action, buttons;
    bool activates;
};
std::ostream& operator<<(std::ostream& os, const ClickCase& c)
{
    return os << c.what;
}
const ClickCase kClickCases[] = {
    {"left press", VLX_MOUSE_PRESS, 1, true},
    {"right press", VLX_MOUSE_PRESS, 2, false},
    {"left and right together", VLX_MOUSE_PRESS, 3, false},
    {"left release", VLX_MOUSE_RELEASE, 1, false},
    {"move with the left button held", VLX_MOUSE_MOVE, 1, false},
    {"left click record", VLX_MOUSE_CLICK, 1, false},
};
class ClickActivationTest : public ViewTest, public ::testing::WithParamInterface<ClickCase> {};
} // namespace

TEST_P(ClickActivationTest, OnlyALeftPressActivatesTheViewAndItsDialog)
{
    const ClickCase& c = GetParam();
    auto* inactive = new WDialog(100, 100, 200, 100, "Cap", 1);
    auto* button = new WView(10, 10, 50, 20, "", "", 2);
    auto* other = new WView(70, 10, 50, 20, "", "", 3);
    auto* front = new WDialog(400, 100, 200, 100, "Front", 4);
    MyDesktop->AddView(inactive, 0);
    inactive->AddView(button, PLACE_NO_ACTIVATE);
    inactive->AddView(other, 0);
    MyDesktop->AddView(front, 0);
    ASSERT_EQ(front, MyDesktop->Active);
    ASSERT_EQ(nullptr, inactive->Active); // the chain was cleared when front came

    PointAt(100 + 10 + 5, 100 + 20 + 10 + 5); // inside the button
    VlxMessage e = MouseEvent(c.action, c.buttons);
    MyDesktop->HandleEvent(&e);
    EXPECT_EQ(c.activates, button->IsActive());
    EXPECT_EQ(c.activates, MyDesktop->Active == inactive);
    EXPECT_EQ(c.activates, !(front->State & VS_ACTIVE));
    EXPECT_FALSE(other->State & VS_ACTIVE);
}
INSTANTIATE_TEST_SUITE_P(Cases, ClickActivationTest, ::testing::ValuesIn(kClickCases));

TEST_F(ViewTest, LeftPressOnTheDialogBodyActivatesTheDialogButNoChild)
{
    auto* back = new WDialog(100, 100, 200, 100, "", 1);
    auto* button = new WView(10, 10, 50, 20, "", "", 2);
    auto* front = new WDialog(400, 100, 200, 100, "", 4);
    MyDesktop->AddView(back, 0);
    back->AddView(button, PLACE_NO_ACTIVATE);
    MyDesktop->AddView(front, 0);
    PointAt(250, 180);
    VlxMessage e = MouseEvent(VLX_MOUSE_PRESS, 1);
    MyDesktop->HandleEvent(&e);
    EXPECT_EQ(back, MyDesktop->Active);
    EXPECT_EQ(nullptr, back->Active);
    EXPECT_FALSE(button->State & VS_ACTIVE);
}

TEST_F(ViewTest, ClickThatMovesFocusToAnEarlierSiblingReachesTheOldFocusOnce)
{
    auto* back = new ProbeView("back", &events, 100, 100, 100, 100);
    auto* front = new ProbeView("front", &events, 400, 100, 100, 100);
    MyDesktop->AddView(back, 0);
    MyDesktop->AddView(front, 0);
    PointAt(150, 150);
    VlxMessage e = MouseEvent(VLX_MOUSE_PRESS, 1);
    MyDesktop->HandleEvent(&e);
    EXPECT_EQ(back, MyDesktop->Active);
    EXPECT_EQ((Names{"front", "back"}), events);
}

namespace {
struct HoverCase {
    const char* what;
    bool commentShown;
    int type, buttons;
    bool restarts;
};
std::ostream& operator<<(std::ostream& os, const HoverCase& c)
{
    return os << c.what;
}
const HoverCase kHoverCases[] = {
    {"any mouse event before the comment is up", false, VLX_MOUSE, 0, true},
    {"a mouse event with a button before the comment is up", false, VLX_MOUSE, 1, true},
    {"a bare move once the comment is up", true, VLX_MOUSE, 0, false},
    {"a held button once the comment is up", true, VLX_MOUSE, 4, true},
    {"a key", false, VLX_KEY, 0, false},
    {"a command", false, VLX_COMMAND, 0, false},
};
class HoverClockTest : public ViewTest, public ::testing::WithParamInterface<HoverCase> {};
} // namespace

TEST_P(HoverClockTest, MouseEventsRestartTheHoverClockUntilTheCommentShows)
{
    const HoverCase& c = GetParam();
    TimeStamp = 100;
    auto* v = new ProbeView("v", &events, 500, 500, 10, 10, "tip");
    MyDesktop->AddView(v, 0);
    if (c.commentShown)
        v->State |= VS_COMMENT_SHOWN;
    VlxMessage e = MouseEvent(VLX_MOUSE_MOVE, c.buttons, 777);
    e.type = c.type;
    MyDesktop->HandleEvent(&e);
    EXPECT_EQ(c.restarts ? 777u : 100u, v->HoverTime);
}
INSTANTIATE_TEST_SUITE_P(Cases, HoverClockTest, ::testing::ValuesIn(kHoverCases));

TEST_F(ViewTest, HandlerThatReleasesALaterSiblingStopsItsDeliveryAndFreesItAfter)
{
    auto* a = new ProbeView("a", &events);
    auto* b = new ProbeView("b", &events);
    auto* c = new ProbeView("c", &events);
    auto* host = new ProbeView("host", &events, 0, 0, 100, 100);
    MyDesktop->AddView(host, 0);
    host->AddView(a, 0);
    host->AddView(b, PLACE_NO_ACTIVATE);
    host->AddView(c, PLACE_NO_ACTIVATE);
    const DWORD handleB = b->Handle;
    a->onEvent = [host, b](VlxMessage*) {
        host->DeleteView(b);
        b->DelRef();
        if (b->GetRef() <= 0)
            delete b;
    };
    VlxMessage e = KeyEvent(1);
    MyDesktop->HandleEvent(&e);
    EXPECT_EQ((Names{"host", "a", "c"}), events);
    EXPECT_EQ(nullptr, ViewFromHandle(handleB));
    EXPECT_EQ(c, a->Next);
}

TEST_F(ViewTest, HandlerThatDeletesItselfLetsTheRestOfTheRoutingRun)
{
    auto* a = new ProbeView("a", &events);
    auto* b = new ProbeView("b", &events);
    auto* c = new ProbeView("c", &events);
    MyDesktop->AddView(a, 0);
    MyDesktop->AddView(b, 0);
    MyDesktop->AddView(c, PLACE_NO_ACTIVATE);
    const DWORD handleB = b->Handle;
    b->onEvent = [b](VlxMessage*) { DELETEVIEW(b); };
    VlxMessage e = MouseEvent(VLX_MOUSE_MOVE, 0, 5);
    MyDesktop->HandleEvent(&e);
    EXPECT_EQ((Names{"b", "a", "c"}), events);
    EXPECT_EQ(nullptr, ViewFromHandle(handleB));
    EXPECT_EQ(a, MyDesktop->Child);
    EXPECT_EQ(c, a->Next);
    EXPECT_EQ(nullptr, MyDesktop->Active);
    events.clear();
    MyDesktop->HandleEvent(&e);
    EXPECT_EQ((Names{"a", "c"}), events);
}

TEST_F(ViewTest, ButtonThatClosesItsOwnDialogDuringAClickLeavesTheTreeSound)
{
    auto* dialog = new WDialog(100, 100, 200, 100, "", 1);
    auto* close = new ProbeView("close", &events, 10, 10, 50, 20);
    auto* after = new ProbeView("after", &events, 100, 10, 50, 20);
    auto* other = new ProbeView("other", &events, 500, 500, 10, 10);
    MyDesktop->AddView(dialog, 0);
    dialog->AddView(close, 0);
    dialog->AddView(after, PLACE_NO_ACTIVATE);
    MyDesktop->AddView(other, PLACE_NO_ACTIVATE);
    const DWORD handles[] = {dialog->Handle, close->Handle, after->Handle};
    close->onEvent = [dialog](VlxMessage* e) {
        DELETEVIEW(dialog);
        ClearEvent(e);
    };
    PointAt(115, 115);
    VlxMessage e = MouseEvent(VLX_MOUSE_PRESS, 1);
    MyDesktop->HandleEvent(&e);
    for (DWORD h : handles)
        EXPECT_EQ(nullptr, ViewFromHandle(h));
    EXPECT_EQ(other, MyDesktop->Child);
    EXPECT_EQ(nullptr, other->Next);
    EXPECT_EQ(nullptr, MyDesktop->Active);
    EXPECT_EQ("close", events.front());
}

TEST_F(ViewTest, ViewsAttachedDuringDispatchWaitForTheNextEvent)
{
    auto* a = new ProbeView("a", &events);
    MyDesktop->AddView(a, 0);
    a->onEvent = [this, a](VlxMessage*) {
        if (!a->Next)
            MyDesktop->AddView(new ProbeView("late", &events), PLACE_NO_ACTIVATE);
    };
    VlxMessage e = KeyEvent(1);
    MyDesktop->HandleEvent(&e);
    EXPECT_EQ((Names{"a"}), events);
    events.clear();
    MyDesktop->HandleEvent(&e);
    EXPECT_EQ((Names{"a", "late"}), events);
}

TEST_F(ViewTest, SendMessageSkipsViewsInADisabledChain)
{
    struct Case {
        const char* what;
        bool dialogDisabled, viewDisabled, desktopDisabled;
        bool delivered;
    };
    const Case cases[] = {
        {"nothing disabled", false, false, false, true},
        {"the dialog above it disabled", true, false, false, false},
        {"the view itself disabled", false, true, false, false},
        {"only the desktop marked disabled", false, false, true, true},
    };
    auto* dialog = new WDialog(0, 0, 100, 100, "", 1);
    auto* group = new WGroup(0, 0, 50, 50, "", 2);
    auto* v = new ProbeView("v", &events);
    MyDesktop->AddView(dialog, 0);
    dialog->AddView(group, 0);
    group->AddView(v, 0);
    for (const Case& c : cases) {
        events.clear();
        dialog->State = c.dialogDisabled ? VS_DISABLED | VS_ACTIVE : VS_ACTIVE;
        v->State = c.viewDisabled ? VS_DISABLED | VS_ACTIVE : VS_ACTIVE;
        MyDesktop->State = VS_ACTIVE | VS_ROOT | (c.desktopDisabled ? VS_DISABLED : 0);
        VlxMessage e = zebtest::CommandEvent(42);
        WSendMessage(v, &e);
        EXPECT_EQ(c.delivered, events == Names{"v"}) << c.what;
    }
    MyDesktop->State = VS_ACTIVE | VS_ROOT;
    VlxMessage e = zebtest::CommandEvent(42);
    WSendMessage(nullptr, &e);
    EXPECT_EQ(VLX_COMMAND, e.type);
}

TEST_F(ViewTest, LongChildListsAreRoutedInOrderAndSurviveReleasesMidway)
{
    // More children than the routing keeps without allocating.
    std::vector<ProbeView*> views;
    auto* host = new ProbeView("host", &events, 0, 0, 100, 100);
    MyDesktop->AddView(host, 0);
    for (int i = 0; i < 20; ++i) {
        views.push_back(new ProbeView("v" + std::to_string(i), &events));
        host->AddView(views.back(), PLACE_NO_ACTIVATE);
    }
    ProbeView* doomed = views[18];
    const DWORD doomedHandle = doomed->Handle;
    bool released = false;
    views[17]->onEvent = [host, doomed, &released](VlxMessage*) {
        if (released)
            return;
        released = true;
        host->DeleteView(doomed);
        doomed->DelRef();
        if (doomed->GetRef() <= 0)
            delete doomed;
    };
    VlxMessage e = KeyEvent(1);
    MyDesktop->HandleEvent(&e);
    Names expected = {"host"};
    for (int i = 0; i < 20; ++i)
        if (i != 18)
            expected.push_back("v" + std::to_string(i));
    EXPECT_EQ(expected, events);
    EXPECT_EQ(nullptr, ViewFromHandle(doomedHandle));
    EXPECT_EQ(views[19], views[17]->Next);
}

TEST_F(ViewTest, LeftPressOnAViewWithoutParentActivatesNothing)
{
    WView root(0, 0, 100, 100, "", "", 0);
    auto* child = new WView(10, 10, 20, 20, "", "", 0);
    root.AddView(child, PLACE_NO_ACTIVATE);
    PointAt(50, 50);
    VlxMessage e = MouseEvent(VLX_MOUSE_PRESS, 1);
    root.HandleEvent(&e);
    EXPECT_FALSE(root.State & VS_ACTIVE);
    PointAt(15, 15);
    root.HandleEvent(&e);
    EXPECT_EQ(child, root.Active);
    EXPECT_TRUE(child->State & VS_ACTIVE);
}
