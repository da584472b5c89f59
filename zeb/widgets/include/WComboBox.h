// WComboBox: shows the selected string of a drop-down list box, with a "+" button at its
// right end. Pressing the box or the button drops the list below the box, or above it
// when there is no room below; while dropped, any left press closes it. Picking a line
// closes the list and queues the list's VLX_CMD_LIST again with the combo box as source.
#ifndef ZEB_WCOMBOBOX_H
#define ZEB_WCOMBOBOX_H

#include <WView.h>

#include <kvEvent.h>

class WListBox;
class WSlaveButton;

#define VLX_CMD_COMBO_TOGGLE 12

// Invariant: the list is a child of the box exactly while Dropped is set; it is owned by
// the box either way.
class WComboBox : public WView {
public:
    BYTE Dropped;
    BYTE Reserved;
    BYTE OpensBelow;  // 1: the list was last placed below the box; 0: above
    int32_t Lines;    // visible lines of the list
    WListBox* List;
    WSlaveButton* Button;

    WComboBox(int x, int y, int width, int height, int lines, int capacity, DWORD id);
    ~WComboBox() override;

    // Rebuilds the "+" button and puts the list under the box.
    void AfterLoad() override;
    void HandleEvent(VlxMessage* event) override;
    void Draw() override;
    // The record holds the lines, then the list's whole record.
    void Load(kvStream* stream) override;
    void Save(kvStream* stream) override;

    int GetIndex() const;
    void SetIndex(int index);
    void AddString(int index, const char* text);
    void ClearAll();
    // True for a VLX_CMD_LIST from this box or its list.
    bool IsMsgFrom(const VlxMessage* event) const;
    // Places the list below the box when it fits on the screen, else above.
    void SetDropdnMenu();

private:
    void Toggle();
};

#endif
