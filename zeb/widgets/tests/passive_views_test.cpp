// The passive views: labels, status boxes and image boxes. Construction, text measuring,
// click reports through the event queue, drawing in the default style, and stored records
// read back through a block stream.
#include "ViewFixture.h"

#include <WDialog.h>
#include <WGroup.h>
#include <WImageBox.h>
#include <WStaticText.h>
#include <kvResource.h>
#include <kvStream.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using zebtest::MouseEvent;
using zebtest::TakeQueuedEvents;

namespace {
// A loaded picture: GetPtr hands out the address a test names in the graph's log.
class NamedResource : public kvResource {
  public:
    explicit NamedResource(void* texture) : ptr(texture) {}
    void* GetPtr() override { return ptr; }
    void* ptr;
};
int pictureTexture;

// Writes every event it is handed as "mouse", "key" or "cmd N from NAME".
class RecordingDialog : public WDialog {
  public:
    RecordingDialog(std::vector<std::string>* eventLog, int x, int y, int w, int h)
        : WDialog(x, y, w, h, "Box", 50), events(eventLog)
    {
    }
    void HandleEvent(VlxMessage* event) override
    {
        if (event->type == VLX_MOUSE) {
            events->push_back("mouse");
        } else if (event->type == VLX_COMMAND && event->x != VLX_CMD_REDRAW) {
            // Redraw requests come and go with the caret's blink clock; they say nothing here.
            WView* source = GetEventSource(event);
            events->push_back("cmd " + std::to_string(event->x) + " from " +
                              (source ? std::to_string(source->Id) : "nobody"));
        }
        WDialog::HandleEvent(event);
    }
    std::vector<std::string>* events;
};

// The queued commands other than redraw requests, which the caret's blink clock adds.
std::vector<VlxMessage> Commands(const std::vector<VlxMessage>& queued)
{
    std::vector<VlxMessage> out;
    for (const VlxMessage& e : queued)
        if (e.type != VLX_COMMAND || e.x != VLX_CMD_REDRAW)
            out.push_back(e);
    return out;
}

std::string Text(int x, int y, const std::string& text, int flags, DWORD colour)
{
    return "DrawTextA(" + std::to_string(x) + "," + std::to_string(y) + ",\"" + text +
           "\",flags=" + std::to_string(flags) + ",colour=" + zebtest::Colour(colour) + ")";
}

std::string Bar(int x1, int y1, int x2, int y2, DWORD colour, const char* texture = "null")
{
    return "Bar(" + std::to_string(x1) + "," + std::to_string(y1) + "," + std::to_string(x2) + "," +
           std::to_string(y2) + "," + zebtest::Colour(colour) + "," + texture + ")";
}

DrawLog SolidSunkenFrame(int x1, int y1, int x2, int y2)
{
    const DWORD dark = ViewPalette[VP_DARK], light = ViewPalette[VP_LIGHT];
    return {Bar(x1 + 1, y1 + 1, x2 - 1, y2 - 1, ViewPalette[VP_INTERIOR]),
            Bar(x1, y1, x2, y1 + 1, dark), Bar(x1, y1 + 1, x1 + 1, y2 - 1, dark),
            Bar(x1, y2 - 1, x2, y2, light), Bar(x2 - 1, y1 + 1, x2, y2 - 1, light)};
}

// A stream of in-memory blocks, each view record written and read back in block 1.
class RecordStream {
  public:
    RecordStream() : stream("views", true, false, false) { stream.AddBlock(1); }
    kvStream* Rewound()
    {
        stream.SetBlock(1);
        stream.SetPos(0, 0);
        return &stream;
    }
    int32_t Word()
    {
        int32_t w = 0;
        stream.Read(&w, 4);
        return w;
    }
    std::string String()
    {
        char buffer[256];
        stream.LoadStringA(buffer);
        return buffer;
    }
    bool AtEnd() const
    {
        return DWORD(stream.GetCurrentBlock()->pos) == stream.GetCurrentBlock()->size;
    }
    kvStream stream;
};
} // namespace

class PassiveViewTest : public ViewTest {};

TEST_F(PassiveViewTest, ConstructorsSetTypeAndTheirFields)
{
    NamedResource picture(&pictureTexture);
    WStaticText label(1, 2, 30, 40, "Hello\nWorld", WTEXT_CENTRE, 3);
    WStatusBox status(5, 6, 70, 80, "Ready", 4);
    WImageBox image(9, 10, 11, 12, &picture, int(0xFF102030), 5);
    EXPECT_EQ(DWORD(WTTStaticText), label.Type);
    EXPECT_EQ(DWORD(WTEXT_CENTRE), label.TextFormat);
    EXPECT_STREQ("Hello\nWorld", label.Text);
    EXPECT_STREQ("", label.Caption);
    EXPECT_EQ(0u, label.State);
    EXPECT_EQ(3u, label.Id);
    EXPECT_EQ(31, label.Right);
    EXPECT_EQ(DWORD(WTTStatusBox), status.Type);
    EXPECT_EQ(0u, status.TextFormat);
    EXPECT_STREQ("Ready", status.Text);
    EXPECT_EQ(DWORD(WTTImageBox), image.Type);
    EXPECT_EQ(&picture, image.Image);
    EXPECT_EQ(int(0xFF102030), image.GetColor());
    EXPECT_STREQ("", image.Caption);
    EXPECT_EQ(0u, image.State & VS_HAS_COMMENT);
}

TEST_F(PassiveViewTest, ChangeTextCopiesAndMeasuresTheFirstLine)
{
    struct Case {
        const char* what;
        std::string text;
        size_t kept;
        int width;
    };
    const std::string pair = "\xBC\xF2";
    const Case cases[] = {
        {"plain", "Hello", 5, 40},
        {"double-byte", pair + pair, 4, 32},
        {"several lines measure by the first", "ab\ncdefgh", 9, 16},
        {"empty", "", 0, 0},
        {"longer than the buffer", std::string(3000, 'x'), 2047, 2047 * 8},
        {"a pair across the end of the buffer", std::string(2046, 'y') + pair, 2046, 2046 * 8},
    };
    WStaticText label(0, 0, 100, 20, "", 0, 0);
    for (const Case& c : cases) {
        label.ChangeText(c.text.c_str());
        EXPECT_EQ(c.kept, std::strlen(label.Text)) << c.what;
        EXPECT_EQ(0, std::memcmp(label.Text, c.text.data(), c.kept)) << c.what;
        EXPECT_EQ(c.width, label.CaptionW) << c.what;
        EXPECT_EQ(16, label.CaptionH) << c.what;
    }
}

TEST_F(PassiveViewTest, SetColorDropsThePicture)
{
    NamedResource picture(&pictureTexture);
    WImageBox box(0, 0, 10, 10, nullptr, 1, 0);
    box.SetImage(&picture);
    EXPECT_EQ(&picture, box.Image);
    box.SetColor(int(0xFFABCDEF));
    EXPECT_EQ(nullptr, box.Image);
    EXPECT_EQ(int(0xFFABCDEF), box.GetColor());
}

TEST_F(PassiveViewTest, LabelClickReachesItsDialogBeforeTheNextQueuedEvent)
{
    auto* dialog = new RecordingDialog(&events, 100, 100, 300, 200);
    auto* label = new WStaticText(10, 10, 100, 20, "Name", 0, 7);
    auto* status = new WStatusBox(10, 40, 100, 20, "Ready", 8);
    MyDesktop->AddView(dialog, 0);
    dialog->AddView(label, 0);
    dialog->AddView(status, 0);

    PointAt(115, 135); // on the label, below the 20-pixel caption bar
    VlxMessage press = MouseEvent(VLX_MOUSE_PRESS, 1);
    AddEvent(&press);
    VlxMessage later = zebtest::CommandEvent(99);
    AddEvent(&later);
    VlxMessage e;
    while (LoadEvent(&e)) {
        MyDesktop->HandleEvent(&e);
        if (e.type == VLX_MOUSE)
            events.push_back("mouse left live");
    }
    EXPECT_EQ((std::vector<std::string>{"mouse", "cmd 13 from 7", "cmd 99 from nobody"}), events);
    EXPECT_TRUE(label->IsActive());

    events.clear();
    PointAt(115, 165); // the status box reports the same way
    press = MouseEvent(VLX_MOUSE_PRESS, 1);
    MyDesktop->HandleEvent(&press);
    EXPECT_EQ((std::vector<std::string>{"mouse", "cmd 13 from 8"}), events);
    EXPECT_EQ(VLX_EMPTY, press.type);
    EXPECT_TRUE(Commands(TakeQueuedEvents()).empty());
}

TEST_F(PassiveViewTest, OnlyALeftPressInsideTheLabelReports)
{
    struct Case {
        const char* what;
        int x, y, action, buttons;
    };
    const Case cases[] = {
        {"right press", 115, 135, VLX_MOUSE_PRESS, 2},
        {"both buttons", 115, 135, VLX_MOUSE_PRESS, 3},
        {"release", 115, 135, VLX_MOUSE_RELEASE, 1},
        {"outside the label", 250, 250, VLX_MOUSE_PRESS, 1},
    };
    auto* dialog = new RecordingDialog(&events, 100, 100, 300, 200);
    auto* label = new WStaticText(10, 10, 100, 20, "Name", 0, 7);
    MyDesktop->AddView(dialog, 0);
    dialog->AddView(label, 0);
    for (const Case& c : cases) {
        events.clear();
        PointAt(c.x, c.y);
        VlxMessage e = MouseEvent(c.action, c.buttons);
        MyDesktop->HandleEvent(&e);
        EXPECT_EQ((std::vector<std::string>{"mouse"}), events) << c.what;
        EXPECT_EQ(VLX_MOUSE, e.type) << c.what;
    }
}

TEST_F(PassiveViewTest, ImageBoxClickIsQueuedWithASourceThatResolvesWhileTheBoxLives)
{
    auto* dialog = new RecordingDialog(&events, 100, 100, 300, 200);
    auto* box = new WImageBox(10, 10, 40, 30, nullptr, 0, 9);
    MyDesktop->AddView(dialog, 0);
    dialog->AddView(box, 0);
    TimeStamp = 4321;
    PointAt(120, 140);
    VlxMessage e = MouseEvent(VLX_MOUSE_PRESS, 1);
    MyDesktop->HandleEvent(&e);
    EXPECT_EQ(VLX_EMPTY, e.type);
    EXPECT_EQ((std::vector<std::string>{"mouse"}), events); // nothing delivered at once
    std::vector<VlxMessage> queued = Commands(TakeQueuedEvents());
    ASSERT_EQ(1u, queued.size());
    EXPECT_EQ(VLX_COMMAND, queued[0].type);
    EXPECT_EQ(VLX_CMD_IMAGE_CLICKED, queued[0].x);
    EXPECT_EQ(4321, queued[0].time);
    EXPECT_EQ(box, GetEventSource(&queued[0]));

    VlxMessage right = MouseEvent(VLX_MOUSE_PRESS, 2);
    MyDesktop->HandleEvent(&right);
    EXPECT_EQ(VLX_MOUSE, right.type);
    EXPECT_TRUE(Commands(TakeQueuedEvents()).empty());

    dialog->DeleteView(box);
    delete box;
    EXPECT_EQ(nullptr, GetEventSource(&queued[0]));
}

namespace {
struct LabelDrawCase {
    const char* what;
    DWORD format;
    std::string text;
    std::vector<std::pair<int, std::string>> lines; // y and text, x from the format
};
std::ostream& operator<<(std::ostream& os, const LabelDrawCase& c)
{
    return os << c.what;
}
const LabelDrawCase kLabelDrawCases[] = {
    {"centred lines, a final line feed adds none",
     WTEXT_CENTRE,
     "ab\ncd\n",
     {{20, "ab"}, {37, "cd"}}},
    {"left lines", WTEXT_LEFT, "ab\ncd\n", {{20, "ab"}, {37, "cd"}}},
    {"an empty line inside keeps its place",
     WTEXT_LEFT,
     "a\n\nb",
     {{20, "a"}, {37, ""}, {54, "b"}}},
    {"a long line is cut to 511 bytes",
     WTEXT_LEFT,
     std::string(600, 'x') + "\nz",
     {{20, std::string(511, 'x')}, {37, "z"}}},
    {"a cut never splits a double-byte character",
     WTEXT_LEFT,
     std::string(510, 'x') + "\xBC\xF2" + "\nz",
     {{20, std::string(510, 'x')}, {37, "z"}}},
    {"no text, no lines", WTEXT_CENTRE, "", {}},
    {"right-anchored format draws from the left edge", WTEXT_RIGHT, "r", {{20, "r"}}},
};
class LabelDrawTest : public PassiveViewTest,
                      public ::testing::WithParamInterface<LabelDrawCase> {};
} // namespace

TEST_P(LabelDrawTest, DrawsEachLineInTheLabelsFormatAndRestoresTheWriter)
{
    const LabelDrawCase& c = GetParam();
    auto* label = new WStaticText(10, 20, 100, 50, c.text.c_str(), c.format, 0);
    MyDesktop->AddView(label, 0);
    OutText->flags = WTEXT_BOTTOM;
    log.clear();
    label->Draw();
    const int x = c.format == WTEXT_CENTRE ? 60 : 10;
    DrawLog expected;
    for (const auto& line : c.lines)
        expected.push_back(Text(x, line.first, line.second, int(c.format), ViewPalette[VP_TEXT]));
    EXPECT_EQ(expected, log);
    EXPECT_EQ(WTEXT_BOTTOM, OutText->flags);
}
INSTANTIATE_TEST_SUITE_P(Cases, LabelDrawTest, ::testing::ValuesIn(kLabelDrawCases));

TEST_F(PassiveViewTest, LabelInsideADialogDrawsAtItsScreenPosition)
{
    auto* dialog = new WDialog(100, 50, 300, 200, "Cap", 0);
    auto* label = new WStaticText(10, 5, 80, 40, "one\ntwo", WTEXT_CENTRE, 0);
    MyDesktop->AddView(dialog, 0);
    dialog->AddView(label, 0);
    log.clear();
    label->Draw();
    const DWORD ink = ViewPalette[VP_TEXT];
    EXPECT_EQ((DrawLog{Text(150, 75, "one", 6, ink), Text(150, 92, "two", 6, ink)}), log);
}

TEST_F(PassiveViewTest, StatusBoxDrawsASunkenFieldWithItsTextCentredByHeight)
{
    auto* status = new WStatusBox(10, 20, 200, 30, "Ready", 0);
    MyDesktop->AddView(status, 0);
    OutText->flags = WTEXT_CENTRE;
    log.clear();
    status->Draw();
    DrawLog expected = SolidSunkenFrame(10, 20, 210, 50);
    expected.push_back(Text(13, 27, "Ready", WTEXT_LEFT, ViewPalette[VP_TEXT]));
    EXPECT_EQ(expected, log);
    EXPECT_EQ(WTEXT_CENTRE, OutText->flags);
}

TEST_F(PassiveViewTest, ImageBoxDrawsAFrameOutsideAndFillsWithItsPictureOrColour)
{
    graph.textures.Name(&pictureTexture, "picture");
    NamedResource picture(&pictureTexture);
    NamedResource empty(nullptr);
    struct Case {
        const char* what;
        kvResource* image;
        const char* texture;
    };
    const Case cases[] = {
        {"picture", &picture, "picture"},
        {"no picture", nullptr, "null"},
        {"a picture that is not loaded", &empty, "null"},
    };
    auto* box = new WImageBox(50, 60, 40, 30, nullptr, int(0xFF112233), 0);
    MyDesktop->AddView(box, 0);
    for (const Case& c : cases) {
        box->SetImage(c.image);
        log.clear();
        box->Draw();
        DrawLog expected = SolidSunkenFrame(49, 59, 91, 91);
        expected.push_back(Bar(50, 60, 90, 90, 0xFF112233, c.texture));
        EXPECT_EQ(expected, log) << c.what;
    }
}

TEST_F(PassiveViewTest, BaseRecordIsWrittenWordByWordAndReadBack)
{
    auto* v = new WView(-100, 10, -1, 20, "Cap", "Tip", 42);
    auto* child = new WView(0, 0, 5, 5, "", "", 0);
    auto* next = new WView(0, 0, 5, 5, "", "", 0);
    v->State |= VS_HIDDEN | VS_PRIORITY;
    MyDesktop->AddView(v, PLACE_NO_ACTIVATE | PLACE_CENTRE_Y);
    v->AddView(child, PLACE_NO_ACTIVATE);
    MyDesktop->AddView(next, PLACE_NO_ACTIVATE);
    ASSERT_NE(v->DesignLeft, v->Left);

    RecordStream rec;
    v->Save(&rec.stream);
    rec.Rewound();
    EXPECT_EQ(0, rec.Word()); // type
    EXPECT_NE(0, rec.Word()); // has children
    EXPECT_NE(0, rec.Word()); // has next
    EXPECT_EQ(-100, rec.Word());
    EXPECT_EQ(10, rec.Word());
    EXPECT_EQ(-101, rec.Word());
    EXPECT_EQ(30, rec.Word());
    EXPECT_EQ(int32_t(VS_HIDDEN | VS_PRIORITY | VS_HAS_COMMENT), rec.Word());
    EXPECT_EQ(PLACE_NO_ACTIVATE | PLACE_CENTRE_Y, rec.Word());
    EXPECT_EQ("Cap", rec.String());
    EXPECT_EQ("Tip", rec.String());
    EXPECT_EQ(42, rec.Word());
    EXPECT_TRUE(rec.AtEnd());

    WView loaded(1, 2, 3, 4, "old", "old", 7);
    kvStream* s = rec.Rewound();
    rec.Word();
    loaded.Load(s);
    EXPECT_TRUE(rec.AtEnd());
    EXPECT_EQ(DWORD(LOAD_HAS_CHILDREN | LOAD_HAS_NEXT), loaded.LoadFlags);
    EXPECT_EQ(-100, loaded.Left);
    EXPECT_EQ(10, loaded.Top);
    EXPECT_EQ(-101, loaded.Right);
    EXPECT_EQ(30, loaded.Bottom);
    EXPECT_EQ(-101, loaded.DesignRight);
    EXPECT_EQ(v->State, loaded.State);
    EXPECT_EQ(DWORD(PLACE_NO_ACTIVATE | PLACE_CENTRE_Y), loaded.Placement);
    EXPECT_STREQ("Cap", loaded.Caption);
    EXPECT_EQ(24, loaded.CaptionW);
    EXPECT_STREQ("Tip", loaded.Comment);
    EXPECT_EQ(42u, loaded.Id);
}

TEST_F(PassiveViewTest, LoadedCommentDecidesTheCommentBitWhateverTheStoredState)
{
    WView source(0, 0, 10, 10, "", "", 0);
    source.State = VS_HAS_COMMENT | VS_DISABLED; // stale bit, no comment
    RecordStream rec;
    source.Save(&rec.stream);
    WView loaded(0, 0, 0, 0, "", "", 0);
    rec.Rewound();
    rec.Word();
    loaded.Load(&rec.stream);
    EXPECT_EQ(DWORD(VS_DISABLED), loaded.State);
    EXPECT_EQ(0u, loaded.LoadFlags);
}

TEST_F(PassiveViewTest, OwnedPartsAreNeitherAnnouncedNorStored)
{
    WView parent(0, 0, 100, 100, "", "", 1);
    auto* scroll = new WView(0, 0, 10, 10, "", "", 2);
    auto* a = new WView(0, 0, 10, 10, "", "", 3);
    auto* slave = new WView(0, 0, 10, 10, "", "", 4);
    auto* c = new WView(0, 0, 10, 10, "", "", 5);
    scroll->Type = WTTVScrollBar;
    slave->Type = WTTSlaveButton;
    WView other(0, 0, 100, 100, "", "", 6);
    other.AddView(a, 0);
    other.AddView(slave, 0);
    other.AddView(c, 0);
    parent.AddView(scroll, 0);

    RecordStream rec;
    parent.SaveAll(&rec.stream);
    other.Child->SaveAll(&rec.stream);
    rec.Rewound();
    const struct {
        DWORD id;
        DWORD flags;
    } expected[] = {{1, 0}, {3, 0}};
    for (const auto& e : expected) {
        WView loaded(0, 0, 0, 0, "", "", 0);
        EXPECT_EQ(0, rec.Word());
        loaded.Load(&rec.stream);
        EXPECT_EQ(e.id, loaded.Id);
        EXPECT_EQ(e.flags, loaded.LoadFlags) << "record " << e.id;
    }
    EXPECT_TRUE(rec.AtEnd());
}

TEST_F(PassiveViewTest, SaveAllWritesTheTreeInPreOrderWithItsFlags)
{
    WDialog dialog(0, 0, 300, 200, "Dlg", 100);
    auto* group = new WGroup(10, 10, 100, 100, "Grp", 10);
    auto* b1 = new WView(5, 5, 20, 10, "One", "", 1);
    auto* b2 = new WView(5, 20, 20, 10, "Two", "", 2);
    auto* ok = new WStaticText(120, 10, 50, 20, "OK", 0, 3);
    dialog.AddView(group, 0);
    group->AddView(b1, 0);
    group->AddView(b2, 0);
    dialog.AddView(ok, 0);

    RecordStream rec;
    dialog.SaveAll(&rec.stream);
    rec.Rewound();
    const struct {
        int32_t type;
        DWORD id;
        DWORD flags;
    } expected[] = {
        {WTTDialog, 100, LOAD_HAS_CHILDREN},
        {WTTGroup, 10, LOAD_HAS_CHILDREN | LOAD_HAS_NEXT},
        {WTTView, 1, LOAD_HAS_NEXT},
        {WTTView, 2, 0},
        {WTTStaticText, 3, 0},
    };
    for (const auto& e : expected) {
        ASSERT_EQ(e.type, rec.Word());
        if (e.type == WTTStaticText) {
            WStaticText loaded(0, 0, 0, 0, "", 0, 0);
            loaded.Load(&rec.stream);
            EXPECT_STREQ("OK", loaded.Text);
            EXPECT_EQ(e.flags, loaded.LoadFlags);
            continue;
        }
        WView loaded(0, 0, 0, 0, "", "", 0);
        loaded.Load(&rec.stream);
        EXPECT_EQ(e.id, loaded.Id);
        EXPECT_EQ(e.flags, loaded.LoadFlags) << "record " << e.id;
    }
    EXPECT_TRUE(rec.AtEnd());
}

TEST_F(PassiveViewTest, DialogLoadedWithOrWithoutCaptionGetsItsBar)
{
    for (const char* caption : {"Title", ""}) {
        WDialog source(10, 20, 200, 100, caption, 5);
        RecordStream rec;
        source.Save(&rec.stream);
        WDialog loaded(0, 0, 0, 0, caption[0] ? "" : "Other", 0);
        rec.Rewound();
        EXPECT_EQ(WTTDialog, rec.Word());
        loaded.Load(&rec.stream);
        const bool bar = caption[0] != '\0';
        EXPECT_EQ(!bar, loaded.NoCaption) << '"' << caption << '"';
        EXPECT_EQ(bar ? 20 : 0, loaded.InsetH) << '"' << caption << '"';
        EXPECT_EQ(bar ? 20 : 0, loaded.OriginY) << '"' << caption << '"';
        EXPECT_EQ(210, loaded.Right);
    }
}

TEST_F(PassiveViewTest, LabelRecordKeepsFormatAndTextAndIsMeasured)
{
    struct Case {
        const char* what;
        bool status;
        DWORD format;
        std::string text;
    };
    const Case cases[] = {
        {"centred label with line feeds", false, WTEXT_CENTRE, "first\nsecond\n"},
        {"status box", true, 0, "Ready"},
        {"a text longer than a caption's load buffer", false, 0, std::string(1500, 't')},
    };
    for (const Case& c : cases) {
        WStaticText* source = c.status ? new WStatusBox(1, 2, 3, 4, c.text.c_str(), 8)
                                       : new WStaticText(1, 2, 3, 4, c.text.c_str(), c.format, 8);
        RecordStream rec;
        source->Save(&rec.stream);
        WStaticText* loaded =
            c.status ? new WStatusBox(0, 0, 0, 0, "", 0) : new WStaticText(0, 0, 0, 0, "", 0, 0);
        rec.Rewound();
        EXPECT_EQ(int32_t(source->Type), rec.Word()) << c.what;
        loaded->Load(&rec.stream);
        EXPECT_TRUE(rec.AtEnd()) << c.what;
        EXPECT_EQ(c.text, loaded->Text) << c.what;
        EXPECT_EQ(c.format, loaded->TextFormat) << c.what;
        EXPECT_EQ(8u, loaded->Id) << c.what;
        EXPECT_EQ(source->CaptionW, loaded->CaptionW) << c.what;
        delete source;
        delete loaded;
    }
}

TEST_F(PassiveViewTest, LoadedImageBoxKeepsItsColourAndHasNoPicture)
{
    NamedResource picture(&pictureTexture);
    WImageBox source(1, 2, 30, 40, &picture, int(0x80FF0010), 6);
    RecordStream rec;
    source.Save(&rec.stream);
    WImageBox loaded(0, 0, 0, 0, &picture, 0, 0);
    rec.Rewound();
    EXPECT_EQ(WTTImageBox, rec.Word());
    loaded.Load(&rec.stream);
    EXPECT_TRUE(rec.AtEnd());
    EXPECT_EQ(int(0x80FF0010), loaded.GetColor());
    EXPECT_EQ(nullptr, loaded.Image);
    EXPECT_EQ(6u, loaded.Id);
    EXPECT_EQ(31, loaded.Right);
}
