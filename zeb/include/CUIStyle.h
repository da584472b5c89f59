// CUIStyle: how each kind of widget looks. A widget's Draw makes itself the style's
// viewer and calls the operation for its kind; an application changes the whole look by
// deriving from CUIStyle, overriding some operations, and installing it with SetUIStyle.
#ifndef ZEB_CUISTYLE_H
#define ZEB_CUISTYLE_H

#include "WViewFwd.h"

// Pre for every Draw operation: the viewer is set and is of the class the operation
// draws. The default look is made of bevelled frames, the palette, texture slots 0 and 1
// and OutText; the operations of widgets not built yet draw nothing.
class CUIStyle {
public:
    CUIStyle();
    virtual ~CUIStyle();
    virtual void DrawGroup();
    virtual void DrawStaticText();
    virtual void DrawImageBox();
    virtual void DrawStatusBox();
    virtual void DrawDialog();
    virtual void DrawButton();
    virtual void DrawInputLine();
    // Draws through DrawButton, so a style that restyles buttons restyles these too.
    virtual void DrawSlaveButton();
    virtual void DrawDragButton();
    virtual void DrawVScrollBar();
    virtual void DrawSlider();
    virtual void DrawListBox();
    virtual void DrawComboBox();
    virtual void DrawCheckButton();
    virtual void DrawCheckBox();
    virtual void DrawMenu();
    virtual void DrawMenuBar();

    void SetViewer(WView* view) { viewer = view; }
    WView* GetViewer() const { return viewer; }

protected:
    WView* viewer;
};

// The installed style; null until one is installed. The framework owns it.
extern CUIStyle* pUIStyle;

// Deletes the installed style (unless it is style itself) and installs style.
void SetUIStyle(CUIStyle* style);

#endif
