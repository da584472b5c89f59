// The click report of the passive views: a left press inside the view becomes a command
// event naming the view as its source.
#ifndef ZEB_WIDGETS_CLICKREPORT_H
#define ZEB_WIDGETS_CLICKREPORT_H

#include <WView.h>

#include <kvInput.h>

namespace zeb {

// True for a press of the left button alone while the pointer is on the view.
inline bool IsLeftPressOn(const WView* view, const VlxMessage* event)
{
    return event->type == VLX_MOUSE && event->action == VLX_MOUSE_PRESS &&
           event->buttons == 1 && view->MouseIn();
}

// A command event with code, from source, stamped with the frame clock.
inline VlxMessage CommandFrom(WView* source, int32_t code)
{
    VlxMessage command = {};
    command.type = VLX_COMMAND;
    command.x = code;
    SetEventSource(&command, source);
    command.time = int32_t(TimeStamp);
    return command;
}

}  // namespace zeb

#endif
