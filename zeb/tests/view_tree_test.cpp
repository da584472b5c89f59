// The view tree: construction, placement, attaching and detaching, focus, coordinates,
// hit testing, reference counts, lookup, captions and handles.
#include "ViewFixture.h"

#include <WDialog.h>
#include <WGroup.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using zebtest::ProbeView;

namespace {
// Counts its placement hook.
class HookedView : public WView {
  public:
    HookedView(int x, int y, int w, int h) : WView(x, y, w, h, "", "", 0)
    {
        Hooks = HOOK_AFTER_TRANSLATE | HOOK_AFTER_ACTIVE;
    }
    void AfterTranslate() override { ++translated; }
    void AfterActive() override { ++activated; }
    int translated = 0;
    int activated = 0;
};

struct PlaceCase {
    const char* what;
    int parentW, parentH, insetW, insetH;
    int x, y, w, h, placement;
    int left, top, right, bottom;
};
std::ostream& operator<<(std::ostream& os, const PlaceCase& c)
{
    return os << c.what;
}

const PlaceCase kPlaceCases[] = {
    {"negative x counts from the right edge", 400, 300, 0, 0, -100, 10, 80, 20, 0, 300, 10, 380,
     30},
    {"width -1 stretches to the right edge", 400, 300, 0, 0, 10, 10, -1, 20, 0, 10, 10, 400, 30},
    {"width -5 stops 5 short of the right edge", 400, 300, 0, 0, 10, 10, -5, 20, 0, 10, 10, 395,
     30},
    {"negative x with width -1 still stretches", 400, 300, 0, 0, -100, 0, -1, 20, 0, 300, 0, 400,
     20},
    {"a right edge far left of the client wraps once", 400, 300, 0, 0, 10, 0, -500, 20, 0, 10, 0,
     300, 20},
    {"negative top counts from the bottom", 400, 300, 0, 0, 0, -30, 10, 20, 0, 0, 270, 10, 290},
    {"negative height has no stretch rule", 400, 300, 0, 0, 0, 10, 10, -5, 0, 0, 10, 10, 5},
    {"negative bottom counts from the bottom", 400, 300, 0, 0, 0, 10, 10, -20, 0, 0, 10, 10, 290},
    {"insets shrink the client area", 400, 300, 20, 30, -100, -30, 80, 20, 0, 280, 240, 360, 260},
    {"centred in an odd-sized parent", 401, 301, 0, 0, 7, 9, 100, 50, 3, 150, 125, 250, 175},
    {"centring uses the whole width, not the client", 400, 300, 100, 0, 0, 0, 100, 10, 1, 150, 0,
     250, 10},
    {"centring only vertically keeps x", 400, 300, 0, 0, 7, 0, 100, 50, 2, 7, 125, 107, 175},
    {"a child wider than its parent centres toward zero", 100, 100, 0, 0, 0, 0, 151, 10, 1, -25, 0,
     125, 10},
};

class PlacementTest : public ViewTest, public ::testing::WithParamInterface<PlaceCase> {};
} // namespace

TEST_F(ViewTest, ConstructorSetsRectangleDefaultsAndMeasuresCaption)
{
    TimeStamp = 1234;
    WView v(10, 20, 30, 40, "OK", "tip", 7);
    EXPECT_EQ(10, v.Left);
    EXPECT_EQ(20, v.Top);
    EXPECT_EQ(40, v.Right);
    EXPECT_EQ(60, v.Bottom);
    EXPECT_EQ(10, v.DesignLeft);
    EXPECT_EQ(20, v.DesignTop);
    EXPECT_EQ(40, v.DesignRight);
    EXPECT_EQ(60, v.DesignBottom);
    EXPECT_EQ(-1, v.CommentX);
    EXPECT_EQ(-1, v.CommentY);
    EXPECT_EQ(0, v.OriginX + v.OriginY + v.InsetW + v.InsetH);
    EXPECT_EQ(nullptr, v.Parent);
    EXPECT_EQ(nullptr, v.Child);
    EXPECT_EQ(nullptr, v.Next);
    EXPECT_EQ(nullptr, v.Active);
    EXPECT_EQ(DWORD(VS_HAS_COMMENT), v.State);
    EXPECT_EQ(0u, v.Modal | v.Hooks | v.LoadFlags | v.Type);
    EXPECT_EQ(1, v.EventMode);
    EXPECT_EQ(7u, v.Id);
    EXPECT_EQ(1234u, v.HoverTime);
    EXPECT_EQ(0, v.Unowned);
    EXPECT_EQ(1, v.GetRef());
    EXPECT_STREQ("OK", v.Caption);
    EXPECT_STREQ("tip", v.Comment);
    EXPECT_EQ(16, v.CaptionW); // two 8-pixel characters
    EXPECT_EQ(16, v.CaptionH);
}

TEST_P(PlacementTest, ResolvesDesignedRectangleAgainstParentClient)
{
    const PlaceCase& c = GetParam();
    WView parent(0, 0, c.parentW, c.parentH, "", "", 0);
    parent.InsetW = c.insetW;
    parent.InsetH = c.insetH;
    auto* child = new WView(c.x, c.y, c.w, c.h, "", "", 0);
    parent.AddView(child, c.placement);
    EXPECT_EQ(c.left, child->Left);
    EXPECT_EQ(c.top, child->Top);
    EXPECT_EQ(c.right, child->Right);
    EXPECT_EQ(c.bottom, child->Bottom);
    EXPECT_EQ(DWORD(c.placement), child->Placement);
    EXPECT_EQ(c.left, child->OriginX);
    EXPECT_EQ(c.top, child->OriginY);
}
INSTANTIATE_TEST_SUITE_P(Cases, PlacementTest, ::testing::ValuesIn(kPlaceCases));

TEST_F(ViewTest, PlacementHookRunsOncePerTranslation)
{
    WView parent(0, 0, 400, 300, "", "", 0);
    auto* child = new HookedView(-50, 0, 10, 10);
    parent.AddView(child, PLACE_NO_ACTIVATE);
    EXPECT_EQ(1, child->translated);
    EXPECT_EQ(0, child->activated);
    parent.Repos();
    EXPECT_EQ(2, child->translated);
}

TEST_F(ViewTest, AttachAddsPositionToInsetOriginAndDetachTakesItBack)
{
    auto* dialog = new WDialog(30, 40, 200, 100, "Title", 1);
    ASSERT_EQ(20, dialog->OriginY); // caption bar: 16 + 4
    MyDesktop->AddView(dialog, 0);
    EXPECT_EQ(30, dialog->OriginX);
    EXPECT_EQ(60, dialog->OriginY);
    EXPECT_EQ(MyDesktop, dialog->Parent);
    MyDesktop->DeleteView(dialog);
    EXPECT_EQ(0, dialog->OriginX);
    EXPECT_EQ(20, dialog->OriginY);
    EXPECT_EQ(nullptr, MyDesktop->Child);
    EXPECT_EQ(nullptr, MyDesktop->Active);
    // A second attach at a new place starts from the inset again.
    dialog->Left = 5;
    MyDesktop->AddView(dialog, PLACE_NO_ACTIVATE);
    EXPECT_EQ(5, dialog->OriginX);
    EXPECT_EQ(nullptr, MyDesktop->Active);
}

TEST_F(ViewTest, DetachingAViewThatIsNotAChildChangesNothing)
{
    auto* a = new WView(10, 10, 10, 10, "", "", 0);
    auto* b = new WView(20, 20, 10, 10, "", "", 0);
    MyDesktop->AddView(a, 0);
    WView stranger(0, 0, 10, 10, "", "", 0);
    stranger.AddView(b, 0);
    MyDesktop->DeleteView(b);
    EXPECT_EQ(20, b->OriginX);
    EXPECT_EQ(b, stranger.Child);
    EXPECT_EQ(a, MyDesktop->Active);
    MyDesktop->SetActive(b);
    EXPECT_EQ(a, MyDesktop->Active);
}

TEST_F(ViewTest, AttachAppendsOnTopAndActivatesTheNewestUnlessAsked)
{
    auto* a = new WView(0, 0, 10, 10, "", "", 1);
    auto* b = new WView(0, 0, 10, 10, "", "", 2);
    auto* c = new WView(0, 0, 10, 10, "", "", 3);
    MyDesktop->AddView(a, 0);
    MyDesktop->AddView(b, 0);
    MyDesktop->AddView(c, PLACE_NO_ACTIVATE);
    EXPECT_EQ(a, MyDesktop->Child);
    EXPECT_EQ(b, a->Next);
    EXPECT_EQ(c, b->Next);
    EXPECT_EQ(b, MyDesktop->Active);
    EXPECT_FALSE(a->State & VS_ACTIVE);
    EXPECT_TRUE(b->State & VS_ACTIVE);
    EXPECT_FALSE(c->State & VS_ACTIVE);
}

TEST_F(ViewTest, ReposRecomputesFromDesignAndKeepsInsetInOrigin)
{
    auto* frame = new WView(0, 0, -1, 300, "", "", 0); // stretches with the screen
    auto* dialog = new WDialog(-100, 10, 80, 50, "Cap", 0);
    auto* corner = new WView(-20, 0, 10, 10, "", "", 0);
    MyDesktop->AddView(frame, 0);
    frame->AddView(dialog, 0);
    dialog->AddView(corner, 0);
    ASSERT_EQ(800, frame->Right);
    ASSERT_EQ(700, dialog->Left);
    ASSERT_EQ(60, corner->Left);

    MyDesktop->Right = 1024;
    MyDesktop->Repos();
    EXPECT_EQ(1024, frame->Right);
    EXPECT_EQ(924, dialog->Left);
    EXPECT_EQ(1004, dialog->Right);
    EXPECT_EQ(924, dialog->OriginX);
    EXPECT_EQ(10 + 20, dialog->OriginY);
    EXPECT_EQ(60, corner->Left); // the dialog's own width did not change
    EXPECT_EQ(60, corner->OriginX);
}

TEST_F(ViewTest, SetTopRaisesTheViewAndItsAncestorsWithoutMovingFocus)
{
    auto* a = new WView(0, 0, 10, 10, "", "", 0);
    auto* group = new WGroup(0, 0, 100, 100, "", 0);
    auto* c = new WView(0, 0, 10, 10, "", "", 0);
    auto* g1 = new WView(0, 0, 10, 10, "", "", 0);
    auto* g2 = new WView(0, 0, 10, 10, "", "", 0);
    MyDesktop->AddView(a, 0);
    MyDesktop->AddView(group, 0);
    group->AddView(g1, 0);
    group->AddView(g2, 0);
    MyDesktop->AddView(c, 0);
    g1->SetTop();
    EXPECT_EQ(g2, group->Child);
    EXPECT_EQ(g1, g2->Next);
    EXPECT_EQ(nullptr, g1->Next);
    EXPECT_EQ(a, MyDesktop->Child);
    EXPECT_EQ(c, a->Next);
    EXPECT_EQ(group, c->Next);
    EXPECT_EQ(nullptr, group->Next);
    EXPECT_EQ(c, MyDesktop->Active);
    EXPECT_TRUE(c->State & VS_ACTIVE);
    EXPECT_FALSE(group->State & VS_ACTIVE);
}

TEST_F(ViewTest, SetActivePropagatesUpAndDeactivatesTheOldChain)
{
    auto* d1 = new WDialog(0, 0, 100, 100, "", 1);
    auto* d2 = new WDialog(0, 0, 100, 100, "", 2);
    auto* b1 = new HookedView(0, 0, 10, 10);
    auto* b2 = new WView(0, 0, 10, 10, "", "", 0);
    auto* c = new WView(0, 0, 10, 10, "", "", 0);
    MyDesktop->AddView(d1, PLACE_NO_ACTIVATE);
    d1->AddView(b1, PLACE_NO_ACTIVATE);
    d1->AddView(b2, PLACE_NO_ACTIVATE);
    MyDesktop->AddView(d2, 0);
    d2->AddView(c, 0);
    ASSERT_TRUE(c->IsActive());

    d1->SetActive(b1);
    EXPECT_EQ(1, b1->activated);
    EXPECT_TRUE(b1->IsActive());
    EXPECT_TRUE(d1->State & VS_ACTIVE);
    EXPECT_EQ(d1, MyDesktop->Active);
    EXPECT_FALSE(d2->State & VS_ACTIVE);
    EXPECT_FALSE(c->State & VS_ACTIVE);
    EXPECT_EQ(nullptr, d2->Active);

    // Already active: nothing runs again.
    d1->SetActive(b1);
    EXPECT_EQ(1, b1->activated);
    // Inside an active parent the focus moves without touching the ancestors.
    d1->SetActive(b2);
    EXPECT_FALSE(b1->State & VS_ACTIVE);
    EXPECT_TRUE(b2->IsActive());
    EXPECT_EQ(d1, MyDesktop->Active);
}

TEST_F(ViewTest, DeleteActiveClearsTheChainBelowButNotTheViewItself)
{
    auto* d = new WDialog(0, 0, 100, 100, "", 1);
    auto* g = new WGroup(0, 0, 50, 50, "", 0);
    auto* b = new WView(0, 0, 10, 10, "", "", 0);
    MyDesktop->AddView(d, 0);
    d->AddView(g, 0);
    g->AddView(b, 0);
    ASSERT_TRUE(b->IsActive());
    d->DeleteActive();
    EXPECT_TRUE(d->State & VS_ACTIVE);
    EXPECT_EQ(nullptr, d->Active);
    EXPECT_EQ(nullptr, g->Active);
    EXPECT_FALSE(g->State & VS_ACTIVE);
    EXPECT_FALSE(b->State & VS_ACTIVE);
}

TEST_F(ViewTest, DetachingTheActiveChildClearsItsChain)
{
    auto* d = new WDialog(0, 0, 100, 100, "", 1);
    auto* b = new WView(0, 0, 10, 10, "", "", 0);
    MyDesktop->AddView(d, 0);
    d->AddView(b, 0);
    MyDesktop->DeleteView(d);
    EXPECT_EQ(nullptr, MyDesktop->Active);
    EXPECT_FALSE(d->State & VS_ACTIVE);
    EXPECT_FALSE(b->State & VS_ACTIVE);
    EXPECT_EQ(nullptr, d->Active);
    delete d;
}

TEST_F(ViewTest, DisabledActiveAndFocusedFollowTheAncestorChain)
{
    auto* d = new WDialog(0, 0, 100, 100, "", 1);
    auto* g = new WGroup(0, 0, 50, 50, "", 0);
    auto* b = new WView(0, 0, 10, 10, "", "", 0);
    auto* other = new WView(0, 0, 10, 10, "", "", 0);
    MyDesktop->AddView(d, 0);
    d->AddView(g, 0);
    g->AddView(b, 0);
    g->AddView(other, PLACE_NO_ACTIVATE);

    EXPECT_FALSE(b->IsDisabled());
    EXPECT_TRUE(b->IsActive());
    EXPECT_TRUE(b->IsFocused());
    EXPECT_TRUE(other->IsFocused()); // its own bit is not looked at
    EXPECT_FALSE(other->IsActive());
    EXPECT_TRUE(MyDesktop->IsActive());

    d->State |= VS_DISABLED;
    EXPECT_TRUE(b->IsDisabled());
    EXPECT_TRUE(d->IsDisabled());
    d->State &= ~DWORD(VS_DISABLED);
    MyDesktop->State |= VS_DISABLED; // never counts for the desktop
    EXPECT_FALSE(b->IsDisabled());
    EXPECT_FALSE(MyDesktop->IsDisabled());
    MyDesktop->State &= ~DWORD(VS_DISABLED);

    d->State &= ~DWORD(VS_ACTIVE);
    EXPECT_FALSE(b->IsActive());
    EXPECT_FALSE(b->IsFocused());
    EXPECT_FALSE(g->IsFocused());
}

TEST_F(ViewTest, AbsolutePositionSumsAncestorOriginsBelowTheDesktop)
{
    auto* d = new WDialog(100, 50, 300, 200, "Cap", 1);
    auto* g = new WGroup(10, 15, 100, 100, "", 0);
    auto* b = new WView(5, 6, 10, 10, "", "", 0);
    MyDesktop->AddView(d, 0);
    d->AddView(g, 0);
    g->AddView(b, 0);
    EXPECT_EQ(0, d->GetAbsX());
    EXPECT_EQ(0, d->GetAbsY());
    EXPECT_EQ(100, g->GetAbsX());
    EXPECT_EQ(50 + 20, g->GetAbsY());
    EXPECT_EQ(110, b->GetAbsX());
    EXPECT_EQ(85, b->GetAbsY());
    EXPECT_EQ(300, d->GetWidth()); // the client width once attached
    EXPECT_EQ(250 - 70, d->GetHeight());
    EXPECT_EQ(10, b->GetWidth());
}

TEST_F(ViewTest, MouseInExcludesChildrenUnderThePointerWithInclusiveEdges)
{
    auto* d = new WDialog(100, 100, 200, 100, "", 1);
    auto* b = new WView(10, 10, 20, 20, "", "", 0);
    MyDesktop->AddView(d, 0);
    d->AddView(b, 0);
    PointAt(115, 115);
    EXPECT_TRUE(d->__MouseIn());
    EXPECT_FALSE(d->MouseIn());
    EXPECT_TRUE(b->MouseIn());
    b->State |= VS_HIDDEN; // hidden views are still hit
    EXPECT_FALSE(d->MouseIn());
    PointAt(130, 130); // the button's right and bottom edges
    EXPECT_TRUE(b->__MouseIn());
    PointAt(131, 130);
    EXPECT_FALSE(b->__MouseIn());
    EXPECT_TRUE(d->MouseIn());
    PointAt(300, 200);
    EXPECT_TRUE(d->__MouseIn());
    PointAt(300, 201);
    EXPECT_FALSE(d->__MouseIn());
    PointAt(99, 150);
    EXPECT_FALSE(d->__MouseIn());
}

TEST_F(ViewTest, DestroyingAParentReleasesChildrenButSparesThoseHeldElsewhere)
{
    auto* parent = new WView(0, 0, 100, 100, "", "", 0);
    auto* kept = new WView(0, 0, 10, 10, "", "", 0);
    auto* dropped = new WView(0, 0, 10, 10, "", "", 0);
    parent->AddView(kept, 0);
    parent->AddView(dropped, 0);
    kept->AddRef();
    const DWORD droppedHandle = dropped->Handle;
    delete parent;
    EXPECT_EQ(nullptr, ViewFromHandle(droppedHandle));
    EXPECT_EQ(kept, ViewFromHandle(kept->Handle));
    EXPECT_EQ(1, kept->GetRef());
    EXPECT_EQ(nullptr, kept->Next);
    EXPECT_EQ(nullptr, kept->Parent);
    delete kept;
}

TEST_F(ViewTest, DeletingAnAttachedViewUnlinksItFromItsParent)
{
    auto* a = new WView(0, 0, 10, 10, "", "", 0);
    auto* b = new WView(0, 0, 10, 10, "", "", 0);
    auto* c = new WView(0, 0, 10, 10, "", "", 0);
    MyDesktop->AddView(a, 0);
    MyDesktop->AddView(b, 0);
    MyDesktop->AddView(c, PLACE_NO_ACTIVATE);
    delete b;
    EXPECT_EQ(c, a->Next);
    EXPECT_EQ(nullptr, MyDesktop->Active);
}

TEST_F(ViewTest, DeleteViewMacroDetachesAndFreesOnlyTheLastReference)
{
    auto* a = new WView(0, 0, 10, 10, "", "", 0);
    auto* b = new WView(0, 0, 10, 10, "", "", 0);
    MyDesktop->AddView(a, 0);
    MyDesktop->AddView(b, 0);
    const DWORD handleA = a->Handle;
    DELETEVIEW(a);
    EXPECT_EQ(nullptr, ViewFromHandle(handleA));
    EXPECT_EQ(b, MyDesktop->Child);
    b->AddRef();
    DELETEVIEW(b);
    EXPECT_EQ(nullptr, MyDesktop->Child);
    EXPECT_EQ(1, b->GetRef());
    DELETEVIEW(b);
    DELETEVIEW(MyDesktop);
    DELETEVIEW(nullptr);
    ASSERT_NE(nullptr, MyDesktop);
    EXPECT_EQ(1, MyDesktop->GetRef());
}

TEST_F(ViewTest, DesktopUnlinksUnownedChildrenInsteadOfReleasingThem)
{
    auto* first = new WView(0, 0, 10, 10, "", "", 0);
    auto* owned = new WView(0, 0, 10, 10, "", "", 0);
    auto* later = new WView(0, 0, 10, 10, "", "", 0);
    first->Unowned = 1;
    later->Unowned = 1;
    MyDesktop->AddView(first, 0);
    MyDesktop->AddView(owned, 0);
    MyDesktop->AddView(later, 0);
    const DWORD ownedHandle = owned->Handle;
    delete MyDesktop;
    EXPECT_EQ(nullptr, MyDesktop);
    EXPECT_EQ(nullptr, ViewFromHandle(ownedHandle));
    EXPECT_EQ(first, ViewFromHandle(first->Handle));
    EXPECT_EQ(later, ViewFromHandle(later->Handle));
    EXPECT_EQ(nullptr, first->Next);
    EXPECT_EQ(nullptr, later->Next);
    delete first;
    delete later;
}

TEST_F(ViewTest, SubViewSearchIsDepthFirstIntoGroupsButNotDialogs)
{
    auto* d = new WDialog(0, 0, 300, 300, "", 100);
    auto* g = new WGroup(0, 0, 100, 100, "", 10);
    auto* inGroup = new WView(0, 0, 10, 10, "", "", 5);
    auto* sameIdLater = new WView(0, 0, 10, 10, "", "", 5);
    auto* nested = new WDialog(0, 0, 100, 100, "", 20);
    auto* inNested = new WView(0, 0, 10, 10, "", "", 9);
    auto* innerGroup = new WGroup(0, 0, 50, 50, "", 11);
    auto* deep = new WView(0, 0, 10, 10, "", "", 12);
    MyDesktop->AddView(d, 0);
    d->AddView(g, 0);
    g->AddView(inGroup, 0);
    g->AddView(innerGroup, 0);
    innerGroup->AddView(deep, 0);
    d->AddView(sameIdLater, 0);
    d->AddView(nested, 0);
    nested->AddView(inNested, 0);
    EXPECT_EQ(inGroup, GetSubView(d, 5));
    EXPECT_EQ(deep, GetSubView(d, 12));
    EXPECT_EQ(nested, GetSubView(d, 20));
    EXPECT_EQ(nullptr, GetSubView(d, 9));
    EXPECT_EQ(inNested, GetSubView(nested, 9));
    EXPECT_EQ(nullptr, GetSubView(d, 100)); // the root itself is not a candidate
    EXPECT_EQ(nullptr, GetSubView(nullptr, 5));
}

TEST_F(ViewTest, TraceWordNamesEveryTypeAndFitsElevenBytes)
{
    const char* const expected[] = {"View",   "Button",     "CheckBox",  "ComboBox",  "Desktop",
                                    "Dialog", "Group",      "ImageBox",  "InputLine", "ListBox",
                                    "Slider", "StaticText", "StatusBox", "Unknown",   "Unknown"};
    WView v(0, 0, 0, 0, "", "", 0);
    for (DWORD type = 0; type < 15; ++type) {
        char out[VIEW_TRACE_SIZE + 4];
        std::memset(out, '#', sizeof out);
        v.Type = type == 14 ? 0xFFFFFFFFu : type;
        v.GetTraceStr(out);
        EXPECT_STREQ(expected[type], out) << "type " << v.Type;
        EXPECT_EQ('#', out[VIEW_TRACE_SIZE]) << "wrote past 11 bytes for type " << v.Type;
    }
}

TEST_F(ViewTest, CaptionAndCommentAreCutTo63BytesAtACharacterBoundary)
{
    struct Case {
        const char* what;
        std::string text;
        size_t kept;
    };
    const std::string pair = "\xBC\xF2"; // one double-byte character
    const Case cases[] = {
        {"70 single bytes", std::string(70, 'a'), 63},
        {"exactly 63", std::string(63, 'b'), 63},
        {"a pair that would end at byte 64", std::string(62, 'c') + pair, 62},
        {"a pair ending at byte 63", std::string(61, 'd') + pair + "e", 63},
        {"only pairs",
         pair + pair + pair + std::string(40, 'f') + pair + pair + pair + pair + pair + pair +
             pair + pair + pair + pair,
         62},
    };
    for (const Case& c : cases) {
        WView v(0, 0, 0, 0, c.text.c_str(), c.text.c_str(), 0);
        EXPECT_EQ(c.kept, std::strlen(v.Caption)) << c.what;
        EXPECT_EQ(c.kept, std::strlen(v.Comment)) << c.what;
        EXPECT_EQ(0, std::memcmp(v.Caption, c.text.data(), c.kept)) << c.what;
        EXPECT_EQ(OutText->GetWidth(v.Caption), v.CaptionW) << c.what;
    }
}

TEST_F(ViewTest, CommentBitFollowsTheCommentText)
{
    WView v(0, 0, 0, 0, "", "", 0);
    EXPECT_FALSE(v.State & VS_HAS_COMMENT);
    v.ChangeComment("hint");
    EXPECT_TRUE(v.State & VS_HAS_COMMENT);
    v.ChangeComment("");
    EXPECT_FALSE(v.State & VS_HAS_COMMENT);
    v.ChangeComment(nullptr);
    EXPECT_STREQ("", v.Comment);
}

TEST_F(ViewTest, DialogCaptionSetsAndClearsTheCaptionBarInset)
{
    WDialog d(0, 0, 100, 100, "", 0);
    EXPECT_TRUE(d.NoCaption);
    EXPECT_EQ(0, d.InsetH);
    EXPECT_EQ(0, d.OriginY);
    d.ChangeCaption("Title");
    EXPECT_FALSE(d.NoCaption);
    EXPECT_EQ(20, d.InsetH);
    EXPECT_EQ(20, d.OriginY);
    EXPECT_EQ(0, d.InsetW);
    d.ChangeCaption("");
    EXPECT_EQ(0, d.InsetH);
    EXPECT_EQ(0, d.OriginY);
}

TEST_F(ViewTest, EndModalAcceptsOnlyCommandsOneToFive)
{
    WView v(0, 0, 0, 0, "", "", 0);
    for (int code = -1; code <= 7; ++code) {
        VlxMessage e = zebtest::CommandEvent(code);
        EXPECT_EQ(code >= 1 && code <= 5, v.EndModal(&e)) << "command " << code;
    }
    VlxMessage key = zebtest::KeyEvent(1);
    EXPECT_FALSE(v.EndModal(&key));
}

TEST_F(ViewTest, SetModalMarksTheViewAndDirectChildrenOnlyAndOffToggles)
{
    WView parent(0, 0, 100, 100, "", "", 0);
    auto* child = new WView(0, 0, 10, 10, "", "", 0);
    auto* grandchild = new WView(0, 0, 5, 5, "", "", 0);
    parent.AddView(child, 0);
    child->AddView(grandchild, 0);
    parent.SetModal(1);
    EXPECT_EQ(DWORD(VIEW_MODAL), parent.Modal);
    EXPECT_EQ(DWORD(VIEW_MODAL), child->Modal);
    EXPECT_EQ(0u, grandchild->Modal);
    auto* late = new WView(0, 0, 10, 10, "", "", 0);
    parent.AddView(late, 0);
    parent.SetModal(0);
    EXPECT_EQ(0u, parent.Modal);
    EXPECT_EQ(0u, child->Modal);
    EXPECT_EQ(DWORD(VIEW_MODAL), late->Modal);
}

TEST_F(ViewTest, HandlesNameLiveViewsAndGoStaleWhenTheyAreDestroyed)
{
    auto* a = new WView(0, 0, 10, 10, "", "", 0);
    auto* b = new WView(0, 0, 10, 10, "", "", 0);
    EXPECT_NE(0u, a->Handle);
    EXPECT_NE(a->Handle, b->Handle);
    EXPECT_EQ(a, ViewFromHandle(a->Handle));
    EXPECT_EQ(nullptr, ViewFromHandle(0));

    VlxMessage e = zebtest::CommandEvent(14);
    SetEventSource(&e, a);
    EXPECT_EQ(int32_t(a->Handle), e.dx);
    EXPECT_EQ(a, GetEventSource(&e));
    const DWORD stale = a->Handle;
    delete a;
    EXPECT_EQ(nullptr, GetEventSource(&e));
    auto* c = new WView(0, 0, 10, 10, "", "", 0);
    EXPECT_NE(stale, c->Handle);
    EXPECT_EQ(nullptr, GetEventSource(&e));
    SetEventSource(&e, nullptr);
    EXPECT_EQ(0, e.dx);
    delete b;
    delete c;
}

TEST_F(ViewTest, AttachedDialogKeepsItsPlaceWhenItsCaptionComesAndGoes)
{
    auto* dialog = new WDialog(30, 40, 200, 100, "", 1);
    MyDesktop->AddView(dialog, 0);
    ASSERT_EQ(40, dialog->OriginY);
    dialog->ChangeCaption("Title");
    EXPECT_EQ(60, dialog->OriginY);
    EXPECT_EQ(30, dialog->OriginX);
    dialog->ChangeCaption("Other");
    EXPECT_EQ(60, dialog->OriginY);
    dialog->ChangeCaption("");
    EXPECT_EQ(40, dialog->OriginY);
    MyDesktop->DeleteView(dialog);
    EXPECT_EQ(0, dialog->OriginY);
    MyDesktop->AddView(dialog, 0);
}

TEST_F(ViewTest, FocusHooksRunForEachViewThatGainsTheFocus)
{
    auto* outer = new HookedView(0, 0, 200, 200);
    auto* inner = new HookedView(10, 10, 100, 100);
    auto* leaf = new HookedView(5, 5, 10, 10);
    auto* rival = new WView(300, 300, 10, 10, "", "", 0);
    MyDesktop->AddView(outer, 0);
    EXPECT_EQ(1, outer->activated);
    MyDesktop->AddView(rival, 0);
    outer->AddView(inner, PLACE_NO_ACTIVATE);
    inner->AddView(leaf, PLACE_NO_ACTIVATE);
    EXPECT_EQ(0, inner->activated);

    inner->SetActive(leaf);
    EXPECT_EQ(1, leaf->activated);
    EXPECT_EQ(1, inner->activated);
    EXPECT_EQ(2, outer->activated);
    EXPECT_TRUE(leaf->IsActive());
    EXPECT_FALSE(rival->State & VS_ACTIVE);
}

TEST_F(ViewTest, ReposCentresAgainWithTheStoredPlacement)
{
    auto* v = new WView(0, 0, 100, 50, "", "", 0);
    MyDesktop->AddView(v, PLACE_CENTRE_X | PLACE_CENTRE_Y);
    ASSERT_EQ(350, v->Left);
    ASSERT_EQ(275, v->Top);
    MyDesktop->Right = 1024;
    MyDesktop->Bottom = 768;
    MyDesktop->Repos();
    EXPECT_EQ(462, v->Left);
    EXPECT_EQ(562, v->Right);
    EXPECT_EQ(359, v->Top);
    EXPECT_EQ(409, v->Bottom);
    EXPECT_EQ(462, v->OriginX);
    EXPECT_EQ(359, v->OriginY);
}

TEST_F(ViewTest, DeleteViewMacroOnADialogsChildLeavesTheDialogListSound)
{
    auto* dialog = new WDialog(0, 0, 300, 200, "", 1);
    auto* a = new WView(0, 0, 10, 10, "", "", 2);
    auto* b = new WView(0, 0, 10, 10, "", "", 3);
    MyDesktop->AddView(dialog, 0);
    dialog->AddView(a, 0);
    dialog->AddView(b, 0);
    DELETEVIEW(b);
    EXPECT_EQ(a, dialog->Child);
    EXPECT_EQ(nullptr, a->Next);
    EXPECT_EQ(nullptr, dialog->Active);
    EXPECT_EQ(nullptr, GetSubView(dialog, 3));
}
