// The style slot table and the installed-style slot.
#include "RecordingGraph.h"
#include "RecordingStyle.h"
#include "RecordingText.h"

#include <CUIStyle.h>
#include <WButton.h>
#include <WInputLine.h>
#include <WMenu.h>
#include <WText.h>
#include <kvBaseGraph.h>
#include <zebSkin.h>

#include <gtest/gtest.h>

namespace {
// The draw requests in a recording style's log, without the drawing they led to.
DrawLog Requests(const DrawLog& log)
{
    DrawLog out;
    for (const std::string& line : log)
        if (line.rfind("Draw", 0) == 0 && line.rfind("DrawTextA", 0) != 0 &&
            line.rfind("DrawUITexture", 0) != 0)
            out.push_back(line);
    return out;
}
}  // namespace

class StyleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUIStyle(nullptr);
        SetOutText(new RecordingText(&log));
        pbg = &graph;
    }
    void TearDown() override
    {
        SetUIStyle(nullptr);
        delete OutText;
        SetOutText(nullptr);
        pbg = nullptr;
    }
    DrawLog log;
    RecordingGraph graph{&log};
};

// Every slot draws its widget, so each request below names a real view of its class.
TEST_F(StyleTest, SlaveButtonIsDrawnByTheButtonOperationOfTheInstalledStyle)
{
    WSlaveButton slave(0, 0, 20, 20, "s", 6);
    auto* style = new RecordingStyle(&log);
    style->views.Name(&slave, "slave");
    SetUIStyle(style);
    pUIStyle->SetViewer(&slave);
    pUIStyle->DrawSlaveButton();
    EXPECT_EQ((DrawLog{"DrawSlaveButton(slave)", "DrawButton(slave)"}), Requests(log));
}

TEST_F(StyleTest, EachOperationSeesTheViewerSetLast)
{
    WButton a(0, 0, 10, 10, "", "", 0, 0);
    WMenuBar b(0, 0, 10, 10, true, 0);
    WInputLine c(0, 0, 10, 8, 0, 0, false, 0);
    RecordingStyle style(&log);
    style.views.Name(&a, "a");
    style.views.Name(&b, "b");
    style.views.Name(&c, "c");
    style.SetViewer(&a);
    style.DrawButton();
    style.SetViewer(&b);
    style.DrawMenuBar();
    style.SetViewer(&c);
    style.DrawInputLine();
    EXPECT_EQ((DrawLog{"DrawButton(a)", "DrawMenuBar(b)", "DrawInputLine(c)"}), Requests(log));
    log.clear();
}

TEST_F(StyleTest, InstallingDeletesThePreviousStyle)
{
    auto* first = new RecordingStyle(&log);
    auto* second = new RecordingStyle(&log);
    SetUIStyle(first);
    SetUIStyle(second);
    EXPECT_EQ((DrawLog{"~RecordingStyle"}), log);
    EXPECT_EQ(second, pUIStyle);

    SetUIStyle(second);  // the installed one again: kept
    EXPECT_EQ(1u, log.size());

    SetUIStyle(nullptr);
    EXPECT_EQ((DrawLog{"~RecordingStyle", "~RecordingStyle"}), log);
    EXPECT_EQ(nullptr, pUIStyle);
}

TEST_F(StyleTest, DerivedStyleKeepsTheDefaultsItDoesNotOverride)
{
    struct FramedGroups : CUIStyle {
        void DrawGroup() override { pbg->Bar(0, 0, 10, 10, 0xFF282828, nullptr); }
    };
    WMenuBar bar(0, 0, 40, 20, true, 0);
    FramedGroups style;
    style.DrawGroup();
    EXPECT_EQ((DrawLog{"Bar(0,0,10,10,0xFF282828,null)"}), log);
    style.SetViewer(&bar);
    style.DrawMenuBar();
    EXPECT_EQ("Bar(0,0,40,1," + zebtest::Colour(ViewPalette[VP_DARK]) + ",null)", log.at(1))
        << "the default bar's sunken top edge";
}
