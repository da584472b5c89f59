// Test helper: a style that writes each draw request and its viewer to a DrawLog, e.g.
// "DrawGroup(group)", and then draws the default look.
#ifndef ZEB_TESTS_RECORDINGSTYLE_H
#define ZEB_TESTS_RECORDINGSTYLE_H

#include "DrawLog.h"

#include <CUIStyle.h>

#define ZEB_RECORD(op)                                                                             \
    void op() override                                                                             \
    {                                                                                              \
        log->push_back(std::string(#op "(") + views.Of(GetViewer()) + ")");                        \
        CUIStyle::op();                                                                            \
    }

class RecordingStyle : public CUIStyle {
public:
    // Pre: log outlives the recorder (the framework deletes an installed style).
    explicit RecordingStyle(DrawLog* drawLog) : log(drawLog) {}
    ~RecordingStyle() override { log->push_back("~RecordingStyle"); }

    ZEB_RECORD(DrawGroup)
    ZEB_RECORD(DrawStaticText)
    ZEB_RECORD(DrawImageBox)
    ZEB_RECORD(DrawStatusBox)
    ZEB_RECORD(DrawDialog)
    ZEB_RECORD(DrawButton)
    ZEB_RECORD(DrawInputLine)
    ZEB_RECORD(DrawSlaveButton)
    ZEB_RECORD(DrawDragButton)
    ZEB_RECORD(DrawVScrollBar)
    ZEB_RECORD(DrawSlider)
    ZEB_RECORD(DrawListBox)
    ZEB_RECORD(DrawComboBox)
    ZEB_RECORD(DrawCheckButton)
    ZEB_RECORD(DrawCheckBox)
    ZEB_RECORD(DrawMenu)
    ZEB_RECORD(DrawMenuBar)

    DrawLog* log;
    zebtest::PointerNames views;
};

#undef ZEB_RECORD

#endif
