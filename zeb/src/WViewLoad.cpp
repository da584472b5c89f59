// The loader of dialogs and view trees. Records come in tree pre-order: a view's record,
// its subtree when it announces children, then its next sibling when it announces one.
// Children are loaded by recursion, bounded by VIEW_LOAD_MAX_DEPTH levels; a sibling
// chain is loaded by a loop, so a long row of siblings costs no stack.
#include "WViewLoad.h"

#include "WDialog.h"
#include "viewRecord.h"
#include "viewTypes.h"

#include <kvException.h>
#include <kvStream.h>

namespace {

struct LoadBudget {
    int views = 0;
};

void Release(WView* view)
{
    view->DelRef();
    if (view->GetRef() <= 0)
        delete view;
}

// Reads one record and builds its view, not yet attached; the view is released again
// when its record is refused.
WView* ReadRecord(kvStream* stream, LoadBudget& budget)
{
    const DWORD type = DWORD(zeb::ReadWord(stream));
    if (++budget.views > VIEW_LOAD_MAX_VIEWS)
        NewException("Too many views in one resource block.", KVEXCEPTION_GENERAL);
    WView* view = zeb::CreateStoredView(type);
    if (!view)
        NewExceptionf(KVEXCEPTION_GENERAL, "View type %u cannot be loaded from a resource file.",
                      unsigned(type));
    try {
        view->Load(stream);
    } catch (...) {
        Release(view);
        throw;
    }
    return view;
}

void LoadChildren(kvStream* stream, WView* parent, int depth, LoadBudget& budget);

// Loads the record at the stream and its subtree, attached to parent.
WView* LoadSubtree(kvStream* stream, WView* parent, int depth, LoadBudget& budget)
{
    WView* view = ReadRecord(stream, budget);
    if (parent)
        parent->AddView(view, int(view->Placement));
    if (view->Hooks & HOOK_AFTER_LOAD)
        view->AfterLoad();
    if (view->LoadFlags & LOAD_HAS_CHILDREN)
        LoadChildren(stream, view, depth + 1, budget);
    return view;
}

// Loads the first child of parent and the chain of its following siblings, in order.
void LoadChildren(kvStream* stream, WView* parent, int depth, LoadBudget& budget)
{
    if (depth > VIEW_LOAD_MAX_DEPTH)
        NewException("View records nest too deeply in a resource block.", KVEXCEPTION_GENERAL);
    for (;;) {
        const WView* view = LoadSubtree(stream, parent, depth, budget);
        if (!(view->LoadFlags & LOAD_HAS_NEXT))
            return;
    }
}

}  // namespace

WView* LoadView(kvStream* stream, WView* parent)
{
    LoadBudget budget;
    if (parent) {
        WView* first = LoadSubtree(stream, parent, 0, budget);
        if (first->LoadFlags & LOAD_HAS_NEXT)
            LoadChildren(stream, parent, 0, budget);
        return first;
    }
    WView* view = ReadRecord(stream, budget);
    try {
        if (view->LoadFlags & LOAD_HAS_NEXT)
            NewException("A view loaded without a parent cannot have siblings.",
                         KVEXCEPTION_GENERAL);
        if (view->Hooks & HOOK_AFTER_LOAD)
            view->AfterLoad();
        if (view->LoadFlags & LOAD_HAS_CHILDREN)
            LoadChildren(stream, view, 1, budget);
    } catch (...) {
        // Nothing outside holds the view yet: it goes with what was built below it.
        Release(view);
        throw;
    }
    return view;
}

void LoadDlg(kvStream* stream, DWORD blockId, WDialog* dialog)
{
    if (!stream->SetBlock(blockId))
        NewException("Dialog not found in resource file.", KVEXCEPTION_GENERAL);
    stream->SetPos(0, 0);
    if (zeb::ReadWord(stream) != WTTDialog)
        NewException("Unexpected view type. It should be WTTDialog.", KVEXCEPTION_GENERAL);
    dialog->Load(stream);
    if (dialog->LoadFlags & LOAD_HAS_CHILDREN) {
        LoadBudget budget;
        ++budget.views;
        LoadChildren(stream, dialog, 1, budget);
    }
}
