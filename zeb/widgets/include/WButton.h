// The push buttons: WButton posts its command to the queue when clicked; WSlaveButton,
// a part of another widget, sends its command to its owner at once; WDragButton, the
// thumb of scroll bars and sliders, reports every event while held; WCheckButton, the
// small box of a check box, flips its checked flag on each press.
//
// State machine, in the State bits: VS_BUTTON_DOWN (0x10) is set by a left press inside
// and cleared by the release; VS_BUTTON_HELD (0x20) is set by that press and follows the
// pointer in and out while the button is down. A release fires only while both are set
// (the pointer is inside); 0x20 may stay set after it until the next press. The skin
// draws the pushed look while both bits are set.
#ifndef ZEB_WBUTTON_H
#define ZEB_WBUTTON_H

#include <WView.h>

// Commands the buttons send to their owners.
#define VLX_CMD_DRAG_MOVE 8
#define VLX_CMD_DRAG_END 9
#define VLX_CMD_CHECK_TOGGLED 16

class WButton : public WView {
public:
    BYTE Hover;       // written by the skin: the pointer was inside at the last draw
    int32_t Command;  // posted when clicked; 0 posts nothing
    BYTE Style;       // copied from ButtonStyle; 1 draws the frame only under the pointer

    // Standard ids 1 to 4 (OK, Cancel, Yes, No) take their standard caption and command.
    WButton(int x, int y, int width, int height, const char* caption, const char* comment,
            int command, DWORD id);

    void Load(kvStream* stream) override;
    void Save(kvStream* stream) override;
    void Draw() override;
    void HandleEvent(VlxMessage* event) override;
    // For ids 1 to 4: the caption CusCaption[id - 1] and the command id.
    void AfterLoad() override;

protected:
    // What a release inside does: WButton queues its command unless it is 0.
    virtual void Fire();
};

class WSlaveButton : public WButton {
public:
    WSlaveButton(int x, int y, int width, int height, const char* caption, int command);
    void Draw() override;

protected:
    // Sends the command, even 0, to the owner before the release is cleared.
    void Fire() override;
};

class WDragButton : public WSlaveButton {
public:
    int32_t GrabY, GrabX;  // where inside the button the pointer took hold

    WDragButton(int x, int y, int width, int height);

    // Moves the button so its left edge is x and its top edge y, keeping its size.
    void Reposition(int x, int y);
    // While held, every event it receives sends the owner VLX_CMD_DRAG_MOVE with the
    // button as source; the release sends VLX_CMD_DRAG_END once.
    void HandleEvent(VlxMessage* event) override;
    void Draw() override;
};

class WCheckButton : public WButton {
public:
    BYTE Checked;

    WCheckButton(int x, int y, int width, int height, DWORD id);

    // A press flips Checked and queues VLX_CMD_CHECK_TOGGLED with the owner as source.
    void HandleEvent(VlxMessage* event) override;
    void Draw() override;
};

#endif
