// WDesktop: the root of the view tree. It is always active, is its own parent, shows the
// one comment box (tooltip) above everything, and presents each frame with the frame
// counter.
#ifndef ZEB_WDESKTOP_H
#define ZEB_WDESKTOP_H

#include "WView.h"

class WDesktop : public WView {
public:
    int32_t CommentBoxX, CommentBoxY;  // requested top-left of the comment box
    int32_t CommentBoxH, CommentBoxW;

    // Covers the screen: (0, 0) to (ScreenX, ScreenY).
    WDesktop();
    // Releases the children it owns; views marked Unowned are only unlinked.
    ~WDesktop() override;

    // The comment, with the box measured to fit it.
    void ChangeComment(const char* text) override;
    // Clears the screen, begins the scene, draws the tree and then the comment box.
    void Draw() override;
    // Draws the comment box, clamped to the screen, unless a mouse button is held.
    virtual void ShowComment();
    // Draws the frame counter when asked for, ends the scene and presents it.
    virtual void Refresh();
};

// The root view; null until SetDesktop. The framework owns the installed desktop.
extern WDesktop* MyDesktop;
// Milliseconds the pointer rests on a view before its comment shows.
extern DWORD DelayTime;

// Installs d; the previous desktop is not released.
void SetDesktop(WDesktop* d);

// Shows text in the comment box at (x, y) on the screen. While a modal loop runs only the
// views marked for it may show comments.
void SendComment(WView* view, int x, int y, const char* text);
// Hides the comment box.
void SendNoComment();

#endif
