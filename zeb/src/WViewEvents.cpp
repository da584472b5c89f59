// WView: the default event routing, and the free functions that deliver events to and
// find views.
#include "WView.h"

#include "WDesktop.h"

#include <kvInput.h>

#include <vector>

namespace {
// The children as they stand when an event arrives, each held by a reference, so a
// handler may detach or release any view (its own parent's children included) without
// the walk touching freed memory. Views attached meanwhile wait for the next event.
class ChildSnapshot {
public:
    explicit ChildSnapshot(WView* parent)
    {
        for (WView* c = parent->Child; c; c = c->Next) {
            c->AddRef();
            if (count < kInline)
                inlineViews[count] = c;
            else
                extra.push_back(c);
            ++count;
        }
    }
    ~ChildSnapshot()
    {
        for (size_t i = 0; i < count; ++i) {
            WView* c = (*this)[i];
            c->DelRef();
            if (c->GetRef() <= 0)
                delete c;
        }
    }
    size_t size() const { return count; }
    WView* operator[](size_t i) const { return i < kInline ? inlineViews[i] : extra[i - kInline]; }
    ChildSnapshot(const ChildSnapshot&) = delete;
    ChildSnapshot& operator=(const ChildSnapshot&) = delete;

private:
    static constexpr size_t kInline = 16;
    WView* inlineViews[kInline];
    std::vector<WView*> extra;
    size_t count = 0;
};

bool StillChildOf(const WView* parent, const WView* child)
{
    if (child->Parent != parent)
        return false;
    for (const WView* c = parent->Child; c; c = c->Next)
        if (c == child)
            return true;
    return false;
}
}  // namespace

void WView::DeliverToChildren(VlxMessage* event)
{
    ChildSnapshot children(this);
    // The active child first. Later steps skip the child that was active when the event
    // came, so a click that moves the focus to a sibling does not reach the old focus twice.
    WView* const active = Active;
    if (active && !(active->State & VS_DISABLED) && StillChildOf(this, active))
        active->HandleEvent(event);
    // Then the priority children, while the event is live: once one consumes it, the
    // others have no more claim to it than any sibling.
    for (size_t i = 0; i < children.size() && event->type != VLX_EMPTY; ++i) {
        WView* c = children[i];
        if ((c->State & VS_PRIORITY) && c != active && !(c->State & VS_DISABLED) &&
            StillChildOf(this, c))
            c->HandleEvent(event);
    }
    // Then everyone else: live events to all, consumed ones to those that ask for them.
    for (size_t i = 0; i < children.size(); ++i) {
        WView* c = children[i];
        if (c == active || (c->State & VS_DISABLED) || !StillChildOf(this, c))
            continue;
        if (event->type != VLX_EMPTY || c->EventMode == 2)
            c->HandleEvent(event);
    }
}

void WView::HandleEvent(VlxMessage* event)
{
    // Pre: the caller holds this view for the call (a parent's routing does).
    const VlxMessage original = *event;
    DeliverToChildren(event);
    if (original.type == VLX_MOUSE) {
        if (original.action == VLX_MOUSE_PRESS && !(State & VS_ACTIVE) && original.buttons == 1 &&
            Parent && MouseIn())
            Parent->SetActive(this);
        if (!(State & VS_COMMENT_SHOWN) || original.buttons != 0)
            HoverTime = DWORD(original.time);
    }
}

void WSendMessage(WView* view, VlxMessage* event)
{
    if (view && !view->IsDisabled())
        view->HandleEvent(event);
}

WView* GetSubView(WView* root, DWORD id)
{
    if (!root)
        return nullptr;
    for (WView* c = root->Child; c; c = c->Next) {
        if (c->Id == id)
            return c;
        if (c->Type == WTTGroup)
            if (WView* found = GetSubView(c, id))
                return found;
    }
    return nullptr;
}

void DELETEVIEW(WView* view)
{
    if (!view || view == MyDesktop)
        return;
    if (MyDesktop)
        MyDesktop->DeleteView(view);
    view->DelRef();
    if (view->GetRef() <= 0)
        delete view;
}
