// The style slot table and the installed-style slot.
#include "RecordingGraph.h"
#include "RecordingStyle.h"
#include "RecordingText.h"

#include <CUIStyle.h>
#include <WButton.h>
#include <WText.h>
#include <kvBaseGraph.h>

#include <gtest/gtest.h>

namespace {
// The kinds whose views are not built yet; the panels and the other widgets have their
// own drawing tests.
void DrawWidgetKinds(CUIStyle* s)
{
    s->DrawInputLine();
    s->DrawMenu();
    s->DrawMenuBar();
}

// Views are only handed around here, never touched, so any address names one.
int viewA, viewB;
WView* const kViewA = reinterpret_cast<WView*>(&viewA);
WView* const kViewB = reinterpret_cast<WView*>(&viewB);
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

TEST_F(StyleTest, DefaultStyleDrawsNoWidgetBeforeItsViewExists)
{
    CUIStyle style;
    EXPECT_EQ(nullptr, style.GetViewer());
    style.SetViewer(kViewA);
    DrawWidgetKinds(&style);
    EXPECT_TRUE(log.empty());
}

TEST_F(StyleTest, SlaveButtonIsDrawnByTheButtonOperationOfTheInstalledStyle)
{
    WSlaveButton slave(0, 0, 20, 20, "s", 6);
    auto* style = new RecordingStyle(&log);
    style->views.Name(&slave, "slave");
    SetUIStyle(style);
    pUIStyle->SetViewer(&slave);
    pUIStyle->DrawSlaveButton();
    ASSERT_LE(2u, log.size());
    EXPECT_EQ((DrawLog{"DrawSlaveButton(slave)", "DrawButton(slave)"}), DrawLog(log.begin(), log.begin() + 2));
}

TEST_F(StyleTest, EachOperationSeesTheViewerSetLast)
{
    RecordingStyle style(&log);
    style.views.Name(kViewA, "a");
    style.views.Name(kViewB, "b");
    style.SetViewer(kViewA);
    style.DrawMenu();
    style.SetViewer(kViewB);
    style.DrawMenuBar();
    style.SetViewer(nullptr);
    style.DrawInputLine();
    EXPECT_EQ((DrawLog{"DrawMenu(a)", "DrawMenuBar(b)", "DrawInputLine(null)"}), log);
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
    FramedGroups style;
    style.DrawGroup();
    DrawWidgetKinds(&style);
    EXPECT_EQ((DrawLog{"Bar(0,0,10,10,0xFF282828,null)"}), log);
}
