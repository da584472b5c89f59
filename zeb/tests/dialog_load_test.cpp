// Dialogs from resource blocks: the stored form of a tree, what loading attaches and
// activates, round trips of every stored class, the string list's slots, and the records
// the loader refuses without leaking or crashing.
#include "BlockRecords.h"
#include "ThrownMessage.h"
#include "ViewFixture.h"

#include <Zeb.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> Strings(const WStringList& list)
{
    std::vector<std::string> out;
    for (int i = 0; i < list.count; ++i)
        out.push_back(list.strings[i]);
    return out;
}
// Where two stored forms part, for a failure message.
std::string FirstDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    if (i == a.size() && i == b.size())
        return "same";
    return "differ at byte " + std::to_string(i) + " of " + std::to_string(a.size()) + "/" +
           std::to_string(b.size());
}
}  // namespace

class DialogLoadTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        SetLanguagePack(zeb::kLanguagePacks[1], ZEB_CAPTION_SIZE);
    }
};

TEST_F(DialogLoadTest, GroupOfTwoButtonsThenOkIsStoredInPreOrderAndLoadsAttachedAlike)
{
    WDialog source(0, 0, 300, 200, "Dlg", 100);
    auto* group = new WGroup(10, 10, 100, 100, "Grp", 10);
    source.AddView(group, 0);
    group->AddView(new WButton(5, 5, 40, 20, "One", "", 7, 11), 0);
    group->AddView(new WButton(5, 30, 40, 20, "Two", "", 8, 12), PLACE_NO_ACTIVATE);
    source.AddView(new WButton(120, 10, 50, 20, "", "", 0, 1), PLACE_NO_ACTIVATE);
    BlockRecords rec;
    source.SaveAll(&rec.stream);

    WDialog loaded(rec.Stream(), 1);
    ASSERT_EQ(group->Id, loaded.Child->Id);
    const WView* ok = loaded.Child->Next;
    ASSERT_NE(nullptr, ok);
    EXPECT_EQ(1u, ok->Id);
    EXPECT_EQ(&loaded, ok->Parent) << "the OK button belongs to the dialog, not the group";
    EXPECT_EQ(nullptr, ok->Next);
    const WView* one = loaded.Child->Child;
    ASSERT_NE(nullptr, one);
    ASSERT_NE(nullptr, one->Next);
    EXPECT_EQ(12u, one->Next->Id);
    EXPECT_EQ(one, loaded.Child->Active) << "the last child loaded without 0x4 is active";
    EXPECT_EQ(loaded.Child, loaded.Active);
    EXPECT_STREQ("Accept", ok->Caption);

    BlockRecords again;
    loaded.SaveAll(&again.stream);
    EXPECT_EQ("same", FirstDifference(rec.Bytes(), again.Bytes()));
}

TEST_F(DialogLoadTest, EveryStoredClassRoundTripsByteForByte)
{
    WDialog source(5, 6, 400, 300, "All", 100);
    source.AddView(new WView(1, 2, 3, 4, "v", "tip", 1), PLACE_NO_ACTIVATE);
    source.AddView(new WButton(10, 10, 60, 20, "Go", "", 4097, 2), 0);
    auto* check = new WCheckBox(10, 40, 100, 0, "Check", 3);
    check->SetCheck(true);
    source.AddView(check, PLACE_NO_ACTIVATE);
    auto* combo = new WComboBox(10, 70, 120, 20, 4, 8, 4);
    combo->AddString(WSL_APPEND, "first");
    combo->AddString(WSL_APPEND, "second");
    source.AddView(combo, PLACE_NO_ACTIVATE);
    auto* inner = new WDialog(200, 10, 150, 100, "", 5);
    inner->AddView(new WGroup(5, 5, 60, 60, "G", 6), PLACE_NO_ACTIVATE);
    source.AddView(inner, PLACE_NO_ACTIVATE);
    source.AddView(new WImageBox(10, 100, 20, 20, nullptr, int(0xFF102030), 7), PLACE_NO_ACTIVATE);
    auto* list = new WListBox(10, 130, 100, 60, 10, 9);
    list->AddString(WSL_APPEND, "row");
    source.AddView(list, PLACE_NO_ACTIVATE);
    source.AddView(new WSlider(nullptr, 10, 200, 110, 4, 10), PLACE_NO_ACTIVATE);
    source.AddView(new WStaticText(10, 230, 80, 20, "a\nb", WTEXT_CENTRE, 11), PLACE_NO_ACTIVATE);
    source.AddView(new WStatusBox(10, -30, -11, 20, "ok", 12), PLACE_CENTRE_X | PLACE_NO_ACTIVATE);
    BlockRecords rec;
    source.SaveAll(&rec.stream);

    WDialog loaded(rec.Stream(), 1);
    BlockRecords again;
    loaded.SaveAll(&again.stream);
    EXPECT_EQ("same", FirstDifference(rec.Bytes(), again.Bytes()));
    auto* loadedCheck = static_cast<WCheckBox*>(GetSubView(&loaded, 3));
    ASSERT_NE(nullptr, loadedCheck);
    EXPECT_TRUE(loadedCheck->GetCheck());
    auto* loadedList = static_cast<WListBox*>(GetSubView(&loaded, 9));
    EXPECT_TRUE(loadedList->State & VS_HAS_COMMENT) << "a loaded list keeps its comment bit";
    auto* status = static_cast<WStatusBox*>(GetSubView(&loaded, 12));
    EXPECT_EQ(16, status->CaptionW) << "a loaded status box measures its text";
}

TEST_F(DialogLoadTest, BareDialogAndALongSiblingRowLoad)
{
    BlockRecords bare;
    bare.View(WTTDialog, false, true, "Bare");
    WDialog dialog(bare.Stream(), 1);
    EXPECT_EQ(nullptr, dialog.Child);
    EXPECT_STREQ("Bare", dialog.Caption);

    // Siblings come in a loop, not one call deeper each: a full block's worth loads in order.
    BlockRecords row;
    row.View(WTTDialog, true, false);
    for (int i = 0; i < VIEW_LOAD_MAX_VIEWS - 1; ++i)
        row.View(WTTView, false, i + 2 < VIEW_LOAD_MAX_VIEWS, "", PLACE_NO_ACTIVATE, i);
    WDialog many(row.Stream(), 1);
    int n = 0;
    for (const WView* v = many.Child; v; v = v->Next, ++n)
        ASSERT_EQ(DWORD(n), v->Id);
    EXPECT_EQ(VIEW_LOAD_MAX_VIEWS - 1, n);
}

TEST_F(DialogLoadTest, RefusedBlocksThrowTheirMessageAndLeakNothing)
{
    struct Case {
        const char* what;
        std::function<void(BlockRecords&)> write;
        std::string message;
    };
    auto child = [](int type) {
        return [type](BlockRecords& r) { r.View(WTTDialog, true, false).View(type, false, false); };
    };
    auto list = [](int capacity, int count) {
        return [=](BlockRecords& r) {
            r.View(WTTDialog, true, false).View(WTTListBox, false, false).Word(capacity).Word(3);
            r.Word(count);
        };
    };
    const std::string noType = " cannot be loaded from a resource file.";
    const Case cases[] = {
        {"root is not a dialog", [](BlockRecords& r) { r.View(WTTGroup, false, false); },
         "Unexpected view type. It should be WTTDialog."},
        {"desktop", child(WTTDesktop), "View type 4" + noType},
        {"scroll bar", child(WTTVScrollBar), "View type 13" + noType},
        {"slave button", child(WTTSlaveButton), "View type 14" + noType},
        {"check button", child(WTTCheckButton), "View type 15" + noType},
        {"horizontal bar", child(WTTHScrollBar), "View type 18" + noType},
        {"unknown", child(99), "View type 99" + noType},
        {"truncated after good siblings",
         [](BlockRecords& r) {
             r.View(WTTDialog, true, false).View(WTTView, false, true).View(WTTButton, false, true);
             r.Word(1).Word(0);
         },
         "Read past the end of a stream block."},
        {"caption past the load buffer",
         [](BlockRecords& r) { r.View(WTTDialog, true, false).View(0, false, false, std::string(300, 'c')); },
         "Stored string is too long for its buffer."},
        {"list capacity 0", list(0, 0), "String list capacity is not 1 to 1024."},
        {"list capacity 1025", list(1025, 0), "String list capacity is not 1 to 1024."},
        {"negative count", list(3, -1), "String list count is outside its capacity."},
        {"count above capacity", list(3, 4), "String list count is outside its capacity."},
        {"nesting past the bound",
         [](BlockRecords& r) {
             r.View(WTTDialog, true, false);
             for (int i = 0; i <= VIEW_LOAD_MAX_DEPTH; ++i)
                 r.View(WTTGroup, true, false);
             r.View(WTTView, false, false);
         },
         "View records nest too deeply in a resource block."},
        {"a hundred thousand siblings",
         [](BlockRecords& r) {
             r.View(WTTDialog, true, false);
             for (int i = 0; i < 100000; ++i)
                 r.View(WTTView, false, true, "", PLACE_NO_ACTIVATE);
         },
         "Too many views in one resource block."},
    };
    for (const Case& c : cases) {
        BlockRecords rec;
        c.write(rec);
        EXPECT_EQ(c.message, ThrownMessage([&] { WDialog d(rec.Stream(), 1); })) << c.what;
        EXPECT_EQ(liveBefore + 1, zeb::LiveViewCount()) << c.what << ": only the desktop lives";
    }
    BlockRecords empty;
    EXPECT_EQ("Dialog not found in resource file.", ThrownMessage([&] { WDialog d(&empty.stream, 2); }));
}

TEST_F(DialogLoadTest, ViewsAttachedToTheCallersParentStayAfterARefusal)
{
    BlockRecords rec;
    rec.View(WTTView, false, true, "", 0, 1).View(WTTView, false, true, "", 0, 2).View(14, false, false);
    WView parent(0, 0, 100, 100, "", "", 0);
    EXPECT_NE("", ThrownMessage([&] { LoadView(rec.Stream(), &parent); }));
    ASSERT_NE(nullptr, parent.Child);
    EXPECT_EQ(2u, parent.Child->Next->Id);
    EXPECT_EQ(parent.Child->Next, parent.Active);

    BlockRecords orphan;
    orphan.View(WTTView, false, true).View(WTTView, false, false);
    EXPECT_EQ("A view loaded without a parent cannot have siblings.",
              ThrownMessage([&] { LoadView(orphan.Stream(), nullptr); }));
}

TEST_F(DialogLoadTest, StringListSlots)
{
    struct Case {
        const char* what;
        std::function<void(WStringList&)> change;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"append to a full list scrolls", [](WStringList& l) { l.AddString(WSL_APPEND, "d"); },
         {"b", "c", "d"}},
        {"insert at 0 drops the last", [](WStringList& l) { l.AddString(0, "x"); }, {"x", "a", "b"}},
        {"delete closes the gap", [](WStringList& l) { l.DeleteString(1); }, {"a", "c"}},
        {"delete by content", [](WStringList& l) { l.DeleteContent("c"); }, {"a", "b"}},
        {"out of range is ignored",
         [](WStringList& l) {
             l.AddString(-1, "n");
             l.UpdateString(5, "n");
             l.DeleteString(7);
         },
         {"a", "b", "c"}},
        {"update keeps the count", [](WStringList& l) { l.UpdateString(2, "z"); }, {"a", "b", "z"}},
    };
    for (const Case& c : cases) {
        WStringList list(3, 2);
        for (const char* s : {"a", "b", "c"})
            list.AddString(WSL_APPEND, s);
        list.modified = 0;
        c.change(list);
        EXPECT_EQ(c.expected, Strings(list)) << c.what;
        EXPECT_EQ(-1, list.FindString("q"));
    }
    WStringList gap(5, 2);
    gap.AddString(3, "far");
    EXPECT_EQ(0, gap.FindString("far")) << "an index past the strings appends";
}
