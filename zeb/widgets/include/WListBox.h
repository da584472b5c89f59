// WListBox: the strings of a WStringList, one per line, with a selected line and a
// vertical scroll bar at its right that shows only while there is more than a page. A
// press on a line selects it and queues VLX_CMD_LIST (y 0) with the list as source; a
// change of the string count queues the same command with y 1. A string wider than the
// box is drawn shortened, ending in "...", and its full text shows as the list's comment
// while the pointer rests on it.
#ifndef ZEB_WLISTBOX_H
#define ZEB_WLISTBOX_H

#include <WStringList.h>
#include <WView.h>

class WVScrollBar;

#define VLX_CMD_LIST 11
// Word y of VLX_CMD_LIST: a line was picked, or the contents changed.
#define LIST_LINE_PICKED 0
#define LIST_CONTENTS_CHANGED 1
// Edge of the scroll bar a list box attaches.
#define LIST_BAR_SIZE 18

class WListBox : public WView {
public:
    int32_t Selected;
    int32_t FirstShown;  // top line, copied from the bar at every draw
    int32_t LastCount;   // string count seen by the last HandleEvent
    int32_t Reserved;
    BYTE PopUp;          // set: HandleModify leaves everything as it is
    WStringList* Strings;
    // Per string, its shortened copy when it is wider than the box; null when it fits.
    char* DispText[WSL_MAX_STRINGS];
    WVScrollBar* ScrollBar;
    int32_t HoveredRow;  // truncated row whose full text is the comment, or -1

    WListBox(int x, int y, int width, int height, int capacity, DWORD id);
    ~WListBox() override;

    // Creates the bar with the edge size and attaches it.
    virtual void AttachScrollBar(int size);
    // Puts the bar beside the list's right edge.
    virtual void ReAttachScrollBar();

    void AfterLoad() override;
    // Page lines from the placed height.
    void AfterTranslate() override;
    void Repos() override;
    void Load(kvStream* stream) override;
    void Save(kvStream* stream) override;
    void HandleEvent(VlxMessage* event) override;
    void Draw() override;

    // Brings the bar, the selection and the shortened texts up to date with the strings.
    void HandleModify();

    int GetIndex() const { return Selected; }
    void SetIndex(int index);
    void SetIndex(const char* text);
    void AddString(int index, const char* text) { Strings->AddString(index, text); }
    void DeleteString(int index) { Strings->DeleteString(index); }
    void DeleteContent(const char* text) { Strings->DeleteContent(text); }
    void ClearAll();
    bool IsEmpty() const { return Strings->count == 0; }
    void FreeDispText();
    // The text a row shows: its shortened copy when there is one.
    const char* RowText(int index) const;
};

#endif
