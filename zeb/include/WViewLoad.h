// Dialogs and view trees from the blocks of a resource stream. A block holds one dialog
// as a flat run of view records in tree pre-order; each record says whether its
// children's records follow it and whether its next sibling's record follows its
// subtree. WView::Save and WView::SaveAll write the same form.
#ifndef ZEB_WVIEWLOAD_H
#define ZEB_WVIEWLOAD_H

#include <windows.h>

class kvStream;
class WView;
class WDialog;

// Levels of views below the record LoadView or LoadDlg starts from; a deeper record is
// refused.
#define VIEW_LOAD_MAX_DEPTH 64
// Views one call may build; a block announcing more is refused.
#define VIEW_LOAD_MAX_VIEWS 4096

// Fills dialog from the block: the root record must be a dialog's; its children follow
// when it announces them. The root's has-next word is ignored and the dialog is not
// attached anywhere. Throws an engine exception for a missing block, a wrong root type
// and any record LoadView refuses; views attached before the refusal stay attached.
void LoadDlg(kvStream* stream, DWORD blockId, WDialog* dialog);

// Builds the view of the record at the stream's position and everything it announces
// (its subtree, then its following siblings, attached to the same parent) and returns
// it. With a parent, each view is attached with its stored placement, so the last one
// loaded without PLACE_NO_ACTIVATE is the active child. Without a parent the record may
// not announce siblings. Refuses, with an engine exception, a type code that has no
// constructor, a truncated record, a string longer than its buffer, and nesting or view
// counts past the bounds above; the view being loaded is released, views already
// attached to the caller's parent stay attached, and a parentless view goes with its
// subtree.
WView* LoadView(kvStream* stream, WView* parent);

#endif
