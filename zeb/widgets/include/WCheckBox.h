// WCheckBox: a check button with a label beside it, one text line high. Both parts are
// owned by the box but are not in its child list: events reach them only through the
// box, and pressing either part toggles the box and queues VLX_CMD_CHECK_TOGGLED with the
// box as source.
#ifndef ZEB_WCHECKBOX_H
#define ZEB_WCHECKBOX_H

#include <WView.h>

class WCheckButton;
class WStaticText;

class WCheckBox : public WView {
public:
    BYTE InitCheck;  // the check state as loaded, given to the check button it builds
    WCheckButton* CheckButton;
    WStaticText* Label;

    // Starts unchecked.
    WCheckBox(int x, int y, int width, int height, const char* caption, DWORD id);
    ~WCheckBox() override;

    void SetCheck(bool checked);
    bool GetCheck() const;

    // The caption is the label's text too.
    void ChangeCaption(const char* text) override;
    // Makes the box one text line high and rebuilds both parts.
    void AfterLoad() override;
    void HandleEvent(VlxMessage* event) override;
    void Draw() override;
    // The record stores the current check state in one byte.
    void Load(kvStream* stream) override;
    void Save(kvStream* stream) override;
};

#endif
