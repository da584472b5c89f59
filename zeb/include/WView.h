// WView: the base of every element of the GUI. Views form a tree; each keeps its children
// in a singly linked list that is also the drawing order (the last child is drawn on top),
// remembers which child has the focus, and carries a rectangle in its parent's client
// coordinates. Events travel down the tree from the desktop until a receiver consumes
// them (ClearEvent); each view tests the pointer position itself.
#ifndef ZEB_WVIEW_H
#define ZEB_WVIEW_H

#include <windows.h>

#include <kvEvent.h>

class kvStream;

// ---- State bits ----------------------------------------------------------------------
#define VS_HAS_COMMENT 0x1
#define VS_COMMENT_SHOWN 0x2  // on the desktop: a comment box is displayed
#define VS_ACTIVE 0x4         // the parent's active child; the desktop always has it
#define VS_ROOT 0x8           // the desktop; coordinate sums stop below it
#define VS_BUTTON_DOWN 0x10   // used by buttons
#define VS_BUTTON_HELD 0x20   // used by buttons
#define VS_DISABLED 0x40      // no events from the parent, for the view and its subtree
#define VS_HIDDEN 0x80        // not drawn by the parent, still hit-tested
#define VS_EXCLUSIVE 0x100    // drawn alone while it runs modally
#define VS_PRIORITY 0x200     // gets live events before its non-active siblings

// ---- Placement flags of AddView --------------------------------------------------------
#define PLACE_CENTRE_X 0x1
#define PLACE_CENTRE_Y 0x2
#define PLACE_NO_ACTIVATE 0x4

// ---- Hooks bits ----------------------------------------------------------------------
#define HOOK_AFTER_ACTIVE 0x1
#define HOOK_AFTER_TRANSLATE 0x2
#define HOOK_AFTER_LOAD 0x4

// ---- LoadFlags bits ------------------------------------------------------------------
#define LOAD_HAS_CHILDREN 0x1
#define LOAD_HAS_NEXT 0x2

// Modal bit: the view takes part in the running modal loop.
#define VIEW_MODAL 0x1

// Type codes, stored in resource files.
enum WViewType {
    WTTView = 0,
    WTTButton = 1,
    WTTCheckBox = 2,
    WTTComboBox = 3,
    WTTDesktop = 4,
    WTTDialog = 5,
    WTTGroup = 6,
    WTTImageBox = 7,
    WTTInputLine = 8,
    WTTListBox = 9,
    WTTSlider = 10,
    WTTStaticText = 11,
    WTTStatusBox = 12,
    WTTVScrollBar = 13,
    WTTSlaveButton = 14,
    WTTCheckButton = 15,
    WTTMenu = 16,
    WTTMenuBar = 17,
    WTTHScrollBar = 18
};

// Caption and comment keep this many bytes with their terminator; a longer text is cut at
// a character boundary.
#define VIEW_TEXT_SIZE 64
// A stored rectangle's edges lie within this many pixels of the parent's origin, so the
// placement sums cannot overflow.
#define VIEW_COORD_LIMIT 65536
// GetTraceStr writes at most this many bytes with the terminator.
#define VIEW_TRACE_SIZE 11

// Invariants: OriginX/OriginY hold the client inset while the view is detached and the
// inset plus Left/Top while attached; a view attached to a parent is in exactly one child
// list; every live view has a Handle that resolves back to it.
class WView {
public:
    DWORD HoverTime;  // TimeStamp at which the pointer's current rest began
    int32_t RefCount;
    BYTE Unowned;  // nonzero: unlinked, not released, when the desktop goes
    char Caption[VIEW_TEXT_SIZE];
    char Comment[VIEW_TEXT_SIZE];
    WView* Next;    // next sibling, drawn above this one
    WView* Parent;  // the desktop is its own parent
    WView* Child;   // first child, drawn lowest
    WView* Active;  // active child, or null
    int32_t Left, Top, Right, Bottom;
    int32_t OriginX, OriginY;  // own client origin in the parent's client coordinates
    int32_t InsetW, InsetH;    // width and height not available to children
    int32_t CommentX, CommentY;  // where the comment is shown; -1, -1: beside the pointer
    int32_t CaptionW, CaptionH;
    int32_t DesignLeft, DesignTop, DesignRight, DesignBottom;
    DWORD Placement;
    DWORD State;
    DWORD Modal;
    DWORD Hooks;
    int32_t EventMode;  // 1: live events only; 2: consumed ones too
    DWORD Id;
    DWORD Type;
    DWORD LoadFlags;
    // The view's name in event words, where a pointer does not fit: see ViewFromHandle.
    DWORD Handle;

    // Pre: OutText is installed (the caption is measured here).
    WView(int x, int y, int width, int height, const char* caption, const char* comment,
          DWORD id);

    // Reads the base record after its type word.
    virtual void Load(kvStream* stream);
    // Writes the base record with its type word.
    virtual void Save(kvStream* stream);
    virtual void ChangeCaption(const char* text);
    // Re-places every child from its design rectangle, and their subtrees.
    virtual void Repos();
    virtual void ChangeComment(const char* text);
    // True for a command 1 to 5 (OK, Cancel, Yes, No, exit).
    virtual bool EndModal(VlxMessage* event);
    virtual void DrawTexture(int x1, int y1, int x2, int y2, bool sunken);
    // A bevelled frame, right and bottom exclusive; fill 0 leaves the interior, 1 fills it
    // with the interior colour, 2 with the frame texture when there is one.
    virtual void DrawFrame(int x1, int y1, int x2, int y2, bool sunken, unsigned char fill);
    // Draws the visible children and runs the comment timer; a subclass draws its own
    // body first.
    virtual void Draw();
    // Attaches child on top of the others; a child attached elsewhere is moved here.
    virtual void AddView(WView* child, int placement);
    virtual void HandleEvent(VlxMessage* event);
    virtual void AfterActive();
    virtual void AfterTranslate();
    virtual void AfterLoad();
    // Releases the children.
    virtual ~WView();

    void AddRef() { ++RefCount; }
    // Never deletes; the caller deletes the view when GetRef reaches 0.
    void DelRef() { --RefCount; }
    int GetRef() const { return RefCount; }

    // Writes the view, its subtree and its following siblings.
    void SaveAll(kvStream* stream);

    // Detaches a child without releasing it; a view that is not a child is left alone.
    void DeleteView(WView* child);
    // Gives child the focus, and this view and its ancestors too; ignored for a view that
    // is not a child.
    void SetActive(WView* child);
    // Clears the chain of active children below this view.
    void DeleteActive();
    // Moves the view and its ancestors to the top of their siblings.
    void SetTop();
    void SetModal(int on);
    // Resolves the child's designed rectangle against this view's client area.
    void TranslatePos(WView* child);

    int GetWidth() const;
    int GetHeight() const;
    int GetAbsX() const;
    int GetAbsY() const;
    // The pointer is on the view's screen rectangle, edges included.
    bool __MouseIn() const;
    // The pointer is on the view and not on a child that is itself under the pointer.
    bool MouseIn() const;
    bool IsDisabled() const;
    bool IsActive() const;
    bool IsFocused() const;
    // A 2-pixel caret, drawn while the blink phase is on.
    void ShowActiveCursor(int x, int y, int height, DWORD colour);
    // Pre: out holds VIEW_TRACE_SIZE bytes.
    void GetTraceStr(char* out) const;

    WView(const WView&) = delete;
    WView& operator=(const WView&) = delete;

protected:
    // True when view is in this view's child list.
    bool HasChild(const WView* view) const;
    void DeliverToChildren(VlxMessage* event);
};

// Delivers the event unless the view is null or disabled.
void WSendMessage(WView* view, VlxMessage* event);
// The first view with id under root, depth first, searching into groups only.
WView* GetSubView(WView* root, DWORD id);
// Detaches a view of the desktop and releases it; the desktop itself is left alone.
void DELETEVIEW(WView* view);

// The live view a handle names, or null once the view is gone (or for 0).
WView* ViewFromHandle(DWORD handle);
// Names source in the event's source word (dx), by handle.
void SetEventSource(VlxMessage* event, WView* source);
// The view named in the event's source word; null when it has been destroyed since.
WView* GetEventSource(const VlxMessage* event);

#endif
