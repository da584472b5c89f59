// Test helper: the globals a view tree reads, installed fresh around every test. A
// recording text writer and drawing interface share one DrawLog, the default style and
// palette are in place, and an 800 x 600 desktop is MyDesktop. TearDown frees the tree
// and checks that no view outlived it, so a leak or a lost reference fails the test.
#ifndef ZEB_TESTS_VIEWFIXTURE_H
#define ZEB_TESTS_VIEWFIXTURE_H

#include "RecordingGraph.h"
#include "RecordingText.h"

#include <CUIStyle.h>
#include <WDesktop.h>
#include <WView.h>
#include <kvApplication.h>
#include <kvInput.h>
#include <zebSkin.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace zeb {
size_t LiveViewCount();
}

namespace zebtest {

// A plain view that writes each event it is handed, and each Draw, to a shared log as
// "name" (events) or "Draw(name)"; onEvent runs before the default routing.
class ProbeView : public WView {
  public:
    ProbeView(const std::string& viewName, std::vector<std::string>* eventLog, int x = 0, int y = 0,
              int w = 10, int h = 10, const char* comment = "")
        : WView(x, y, w, h, "", comment, 0), name(viewName), events(eventLog)
    {
    }
    void HandleEvent(VlxMessage* event) override
    {
        if (events)
            events->push_back(name + (event->type ? "" : "(consumed)"));
        if (onEvent)
            onEvent(event);
        WView::HandleEvent(event);
    }
    void Draw() override
    {
        if (drawLog)
            drawLog->push_back("Draw(" + name + ")");
        WView::Draw();
    }
    std::string name;
    std::vector<std::string>* events;
    DrawLog* drawLog = nullptr;
    std::function<void(VlxMessage*)> onEvent;
};

inline VlxMessage MouseEvent(int action, int buttons, int time = 0)
{
    VlxMessage e = {};
    e.type = VLX_MOUSE;
    e.x = MouseX;
    e.y = MouseY;
    e.action = action;
    e.buttons = buttons;
    e.time = time;
    return e;
}

inline VlxMessage KeyEvent(int code)
{
    VlxMessage e = {};
    e.type = VLX_KEY;
    e.x = code;
    return e;
}

inline VlxMessage CommandEvent(int code)
{
    VlxMessage e = {};
    e.type = VLX_COMMAND;
    e.x = code;
    return e;
}

inline std::vector<VlxMessage> TakeQueuedEvents()
{
    std::vector<VlxMessage> out;
    VlxMessage e;
    while (GetEventCount() > 0 && LoadEvent(&e))
        out.push_back(e);
    return out;
}

} // namespace zebtest

class ViewTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ResetGlobals();
        liveBefore = zeb::LiveViewCount();
        SetOutText(new RecordingText(&log));
        pbg = &graph;
        SetUIStyle(new CUIStyle);
        SetViewPaletteRaw(zeb::kDefaultPalette, 52);
        ScreenX = 800;
        ScreenY = 600;
        SetDesktop(new WDesktop);
    }
    void TearDown() override
    {
        delete MyDesktop;
        SetDesktop(nullptr);
        SetUIStyle(nullptr);
        delete OutText;
        SetOutText(nullptr);
        pbg = nullptr;
        ResetGlobals();
        EXPECT_EQ(liveBefore, zeb::LiveViewCount()) << "views outlived the test";
    }
    static void ResetGlobals()
    {
        zebtest::TakeQueuedEvents();
        SetGUITexture(static_cast<void**>(nullptr), 0);
        MouseX = MouseY = 0;
        TimeStamp = 0;
        bCursorSparkle = false;
        DelayTime = 60;
        std::memset(&MyMouse, 0, sizeof MyMouse);
    }
    static void PointAt(int x, int y)
    {
        MouseX = x;
        MouseY = y;
    }
    std::string C(int role) const { return zebtest::Colour(ViewPalette[role]); }

    DrawLog log;
    RecordingGraph graph{&log};
    std::vector<std::string> events;
    size_t liveBefore = 0;
};

#endif
