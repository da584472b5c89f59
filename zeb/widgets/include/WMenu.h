// WMenu and WMenuBar: a bar of up to 32 menus (its bases), each a list of up to 32 items;
// an item posts a command or opens a sub-menu. Open menus are not children of the bar:
// they float on the desktop while open, so they draw above everything and take mouse
// events first, and leave it when closed. Command 15 sent to the bar closes them all.
//
// Ownership: the bar holds one reference to each base and a menu one to each sub-menu;
// opening a menu takes one more and closing it (Retreat) gives that one back, so a menu
// dies only with its owner.
#ifndef ZEB_WMENU_H
#define ZEB_WMENU_H

#include <WView.h>

#define MENU_MAX_ITEMS 32
// An item's text keeps this many bytes with its terminator; a longer text is cut at a
// character boundary.
#define MENU_TEXT_SIZE 32
#define MENUBAR_MAX_BASES 32
// Sent to the bar, with the bar as the event's source: closes every open menu.
#define VLX_CMD_CLOSE_MENUS 15

class WMenuBar;
class WMenu;

struct WMenuItem {
    char Text[MENU_TEXT_SIZE];  // GBK
    BYTE Separator;             // the text is empty; a separator cannot be chosen
    WMenu* SubMenu;             // owned through a reference; null for a command item
    DWORD Command;
};

class WMenu : public WView {
public:
    int32_t Count;     // items in use, 0 to 32
    int32_t Widest;    // pixel width of the widest item text
    int32_t MinWidth;  // the menu is never narrower
    int32_t OpenItem;  // highlighted item, whose sub-menu may be open; -1 none
    WMenuItem Items[MENU_MAX_ITEMS];
    WMenuBar* Bar;  // the bar that owns this menu tree; not owned

    // The caption is the text the bar shows for the menu.
    WMenu(int x, int y, int minWidth, const char* caption, DWORD id);
    // Closes the open sub-menu and releases every sub-menu.
    ~WMenu() override;

    // Empties the menu, releasing its sub-menus.
    void Clear();
    // Ignored when 32 items exist (a sub-menu passed then stays the caller's); otherwise
    // the menu takes the caller's reference to subMenu. An empty text is a separator.
    void AddItem(const char* text, WMenu* subMenu, DWORD command);
    // Ignored for an index past the items.
    void DeleteItem(int index);
    // (text height + 8) per item, and 4 for the frame.
    int GetMenuHeight() const;
    // Places the menu's top-left corner at (x, y) on the screen, wide enough for its
    // widest text; nothing is highlighted.
    void SetSize(int x, int y);
    // The item under the pointer, or -1 outside the menu and on a separator.
    int GetItem() const;
    // Sets owner and bar here and in every sub-menu below.
    void SetOwner(WView* owner, WMenuBar* bar);
    // Closes the open sub-menu, and everything open below it.
    void Retreat();
    // The pointer is on this menu or on an open sub-menu below it.
    bool MouseInMenu() const;
    // True while the menu floats on its owner (is open).
    bool IsOpen() const;

    // A layout change closes every menu of the bar. The close is queued: the owner is
    // walking its children when this runs, and must not lose them under its feet.
    void Repos() override;
    void Draw() override;
    void HandleEvent(VlxMessage* event) override;
    // Refuses more than 32 items, sub-menus nested more than MENU_MAX_DEPTH deep and any
    // nested record that is not a menu.
    void Load(kvStream* stream) override;
    void Save(kvStream* stream) override;

private:
    void OpenSubMenu(int index);
};

// Menus nest at most this deep in a stored record, the bar's menus counting as level 1.
#define MENU_MAX_DEPTH 16

struct WMenuBase {
    WMenu* Menu;  // owned through a reference
    int32_t LeftX, RightX;  // the caption's span inside the bar, edges included
};

class WMenuBar : public WView {
public:
    int32_t Count;     // bases in use, 0 to 32
    int32_t OpenBase;  // -1 none
    WMenuBase Bases[MENUBAR_MAX_BASES];
    BYTE DropDown;          // 1: menus open below the bar; 0: above it
    BYTE SuppressCommands;  // set: choosing an item posts no command
    // The desktop's active view when a base opened, by handle: it gets the focus back
    // when the menus close, rather than the desktop keeping none.
    DWORD FocusBefore;

    WMenuBar(int x, int y, int w, int h, bool dropDown, DWORD id);
    // Closes the open menu and releases every base.
    ~WMenuBar() override;

    // Empties the bar, releasing its menus.
    void Clear();
    // Ignored for null and when 32 bases exist (the menu then stays the caller's);
    // otherwise the bar takes the caller's reference.
    void AddBase(WMenu* menu);
    // Recomputes every base's span, after captions or the font changed.
    void AdjustBase();
    // Ignored for an index past the bases.
    void DeleteBase(int index);
    // The base under the pointer, or -1.
    int GetBase() const;
    // Closes the open menu and everything below it.
    void Retreat();
    // The pointer is on an open menu of this bar.
    bool MouseInMenu() const;

    void Draw() override;
    void HandleEvent(VlxMessage* event) override;
    // Refuses more than 32 bases and any nested record that is not a menu.
    void Load(kvStream* stream) override;
    void Save(kvStream* stream) override;

private:
    void OpenBaseMenu(int index);
};

#endif
