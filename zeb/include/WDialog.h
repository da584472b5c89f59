// WDialog: a framed view with an optional caption bar, the root of every dialog a
// resource file holds.
#ifndef ZEB_WDIALOG_H
#define ZEB_WDIALOG_H

#include "WView.h"

class WDialog : public WView {
public:
    bool NoCaption;  // the caption is empty: no caption bar, no vertical inset

    WDialog(int x, int y, int width, int height, const char* caption, DWORD id);
    // The dialog stored in the block, with its whole tree (LoadDlg). A refused block
    // throws after destroying whatever part of the dialog was built.
    WDialog(kvStream* stream, DWORD blockId);

    // A caption gives the dialog a caption bar CaptionH + 4 high; children start below.
    void ChangeCaption(const char* text) override;
    // The frame and caption bar, then the children.
    void Draw() override;
};

#endif
