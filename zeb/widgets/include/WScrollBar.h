// WVScrollBar: the vertical bar of a list box. Two end buttons step one line (commands 6
// and 7), the thumb is dragged (8 while held, 9 on release), a press on the track pages,
// and the wheel steps. The bar keeps the list's top index; the list reads it when drawn.
// WHScrollBar: the same parts laid out below its owner, with end commands 19 and 20; it
// neither draws nor handles events.
#ifndef ZEB_WSCROLLBAR_H
#define ZEB_WSCROLLBAR_H

#include <WView.h>

class WDragButton;
class WSlaveButton;
class WStringList;

#define VLX_CMD_LINE_UP 6
#define VLX_CMD_LINE_DOWN 7
#define VLX_CMD_HSCROLL_LEFT 19
#define VLX_CMD_HSCROLL_RIGHT 20

// Invariant: the thumb lies between the end buttons: its top is ButtonSize plus a value
// from 0 to Travel; TopIndex stays within 0 to count - rows whenever there is more than a
// page to show.
class WVScrollBar : public WView {
public:
    int32_t ThumbPos;    // top of the thumb, pixels from the bar's top
    int32_t Travel;      // pixels the thumb can move: track - thumb length
    int32_t TopIndex;    // first visible string of the list
    int32_t ButtonSize;  // edge of the square end buttons, the bar's width
    int32_t ThumbLen;
    BYTE Full;           // the thumb fills the track: nothing to scroll
    WStringList* List;   // not owned: count and page lines
    WDragButton* Thumb;
    WSlaveButton* UpButton;
    WSlaveButton* DownButton;

    // Pre: owner and list outlive the bar.
    WVScrollBar(WView* owner, WStringList* list, int size, DWORD id);

    // Replaces the three buttons and places the bar at the rectangle, in its parent's
    // client coordinates.
    void ReAddView(int left, int top, int right, int bottom);
    // Sizes the thumb for the list's page and count, and places it for the top index.
    void ChangeButtonSize();
    // Scrolls so that the index is visible and re-places the thumb.
    void SetIndex(int index);
    // Thumb position as a fraction of the travel.
    float GetIndexFloat() const;

    void HandleEvent(VlxMessage* event) override;
    void Draw() override;

protected:
    WVScrollBar(WStringList* list, int size, DWORD id, int x, int y, int w, int h,
                const char* caption);
    virtual void AddParts();
    // Puts the thumb at the fraction of the travel.
    void PlaceThumb(float fraction);
};

class WHScrollBar : public WVScrollBar {
public:
    WHScrollBar(WView* owner, WStringList* list, int size, DWORD id);
    void HandleEvent(VlxMessage*) override {}
    void Draw() override {}

protected:
    void AddParts() override;
};

#endif
