// Test helper: widgets in a caption-less dialog that covers the top-left of the desktop,
// so a widget's coordinates are screen pixels. Mouse events go through the runtime's
// queue to the desktop, and so does everything their handling queues; the dialog writes
// every command that reaches it unconsumed as "N from ID" ("N from nobody" without a
// live source, "N from ID y Y" when word y is set).
#ifndef ZEB_WIDGETS_TESTS_WIDGETFIXTURE_H
#define ZEB_WIDGETS_TESTS_WIDGETFIXTURE_H

#include "BlockRecords.h"
#include "ViewFixture.h"

#include <Zeb.h>

#include <string>
#include <vector>

class CommandLogDialog : public WDialog {
public:
    explicit CommandLogDialog(std::vector<std::string>* commandLog)
        : WDialog(0, 0, 400, 300, "", 500), log(commandLog)
    {
    }
    void HandleEvent(VlxMessage* event) override
    {
        WDialog::HandleEvent(event);
        if (event->type != VLX_COMMAND)
            return;
        const WView* source = GetEventSource(event);
        log->push_back(std::to_string(event->x) + " from " +
                       (source ? std::to_string(source->Id) : "nobody") +
                       (event->y ? " y " + std::to_string(event->y) : ""));
    }
    std::vector<std::string>* log;
};

class WidgetTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        SetLanguagePack(zeb::kLanguagePacks[1], ZEB_CAPTION_SIZE);
        dialog = new CommandLogDialog(&commands);
        MyDesktop->AddView(dialog, 0);
    }
    // Points at (x, y) and queues one mouse event, then dispatches the queue.
    void Mouse(int x, int y, int action, int buttons = 1)
    {
        PointAt(x, y);
        VlxMessage e = zebtest::MouseEvent(action, buttons);
        AddEvent(&e);
        Pump();
    }
    // A press and a release at the same place.
    void Click(int x, int y)
    {
        Mouse(x, y, VLX_MOUSE_PRESS);
        Mouse(x, y, VLX_MOUSE_RELEASE);
    }
    // Dispatches every queued event but the redraw requests the caret's blink clock adds.
    void Pump()
    {
        VlxMessage e;
        while (GetEventCount() > 0 && LoadEvent(&e))
            if (e.type != VLX_COMMAND || e.x != VLX_CMD_REDRAW)
                MyDesktop->HandleEvent(&e);
    }

    CommandLogDialog* dialog = nullptr;
    std::vector<std::string> commands;
};

#endif
