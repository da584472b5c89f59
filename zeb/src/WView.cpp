// WView: construction, captions and comments, the child list, focus, placement and the
// coordinate queries.
#include "WView.h"

#include "ViewHandles.h"
#include "WDesktop.h"
#include "zebDraw.h"
#include "zebText.h"

#include <kvInput.h>

#include <cstring>

WView::WView(int x, int y, int width, int height, const char* caption, const char* comment,
             DWORD id)
    : HoverTime(TimeStamp),
      RefCount(0),
      Unowned(0),
      Caption{},
      Comment{},
      Next(nullptr),
      Parent(nullptr),
      Child(nullptr),
      Active(nullptr),
      Left(x),
      Top(y),
      Right(x + width),
      Bottom(y + height),
      OriginX(0),
      OriginY(0),
      InsetW(0),
      InsetH(0),
      CommentX(-1),
      CommentY(-1),
      CaptionW(0),
      CaptionH(0),
      DesignLeft(x),
      DesignTop(y),
      DesignRight(x + width),
      DesignBottom(y + height),
      Placement(0),
      State(0),
      Modal(0),
      Hooks(0),
      EventMode(1),
      Id(id),
      Type(WTTView),
      LoadFlags(0),
      Handle(zeb::RegisterView(this))
{
    AddRef();
    // The base versions, whatever the subclass overrides.
    WView::ChangeCaption(caption);
    WView::ChangeComment(comment);
}

WView::~WView()
{
    // A view deleted while still linked leaves its parent's list first, so the parent
    // never walks into freed memory. A detached view may outlive its old parent.
    if (Parent && Parent != this && zeb::IsLiveView(Parent) && Parent->HasChild(this))
        Parent->DeleteView(this);
    while (Child) {
        WView* child = Child;
        Child = child->Next;
        child->Next = nullptr;
        child->Parent = nullptr;  // a child kept alive elsewhere must not point back here
        child->DelRef();
        if (child->GetRef() <= 0)
            delete child;
    }
    Active = nullptr;
    zeb::UnregisterView(Handle);
}

void WView::ChangeCaption(const char* text)
{
    zeb::CopyText(Caption, sizeof Caption, text);
    CaptionW = zeb::Writer().GetWidth(Caption);
    CaptionH = zeb::Writer().GetHeight(Caption);
}

void WView::ChangeComment(const char* text)
{
    zeb::CopyText(Comment, sizeof Comment, text);
    if (Comment[0])
        State |= VS_HAS_COMMENT;
    else
        State &= ~DWORD(VS_HAS_COMMENT);
}

bool WView::EndModal(VlxMessage* event)
{
    return event->type == VLX_COMMAND && event->x >= 1 && event->x <= 5;
}

void WView::AfterActive() {}
void WView::AfterTranslate() {}
void WView::AfterLoad() {}

bool WView::HasChild(const WView* view) const
{
    for (const WView* c = Child; c; c = c->Next)
        if (c == view)
            return true;
    return false;
}

void WView::AddView(WView* child, int placement)
{
    if (!child || child == this)
        return;
    // A view is in one list only: attaching it again moves it, and never links it twice.
    if (child->Parent && child->Parent != child && zeb::IsLiveView(child->Parent))
        child->Parent->DeleteView(child);
    child->Placement = DWORD(placement);
    TranslatePos(child);
    child->OriginX += child->Left;
    child->OriginY += child->Top;
    child->Parent = this;
    child->Next = nullptr;
    WView** tail = &Child;
    while (*tail)
        tail = &(*tail)->Next;
    *tail = child;
    if (!(placement & PLACE_NO_ACTIVATE))
        SetActive(child);
}

void WView::DeleteView(WView* child)
{
    if (!child || !HasChild(child))
        return;
    child->OriginX -= child->Left;
    child->OriginY -= child->Top;
    for (WView** link = &Child; *link; link = &(*link)->Next) {
        if (*link == child) {
            *link = child->Next;
            break;
        }
    }
    if (Active == child)
        DeleteActive();
    child->Next = nullptr;
}

void WView::SetActive(WView* child)
{
    WView* parent = this;
    WView* target = child;
    if (!parent->Child || !parent->HasChild(target))
        return;
    for (;;) {
        if (parent->Active == target)
            return;
        if (parent->Active && parent->HasChild(parent->Active))
            parent->DeleteActive();
        target->State |= VS_ACTIVE;
        parent->Active = target;
        if (target->Hooks & HOOK_AFTER_ACTIVE)
            target->AfterActive();
        if ((parent->State & VS_ACTIVE) || !parent->Parent || parent->Parent == parent)
            return;
        target = parent;
        parent = parent->Parent;
        if (!parent->HasChild(target))
            return;
    }
}

void WView::DeleteActive()
{
    WView* view = this;
    while (WView* active = view->Active) {
        view->Active = nullptr;
        active->State &= ~DWORD(VS_ACTIVE);
        view = active;
    }
}

void WView::SetTop()
{
    WView* view = this;
    while (view->Parent && view->Parent != view && view != MyDesktop) {
        WView* parent = view->Parent;
        if (parent->HasChild(view) && view->Next) {
            WView** link = &parent->Child;
            while (*link != view)
                link = &(*link)->Next;
            *link = view->Next;
            WView* last = view->Next;
            while (last->Next)
                last = last->Next;
            last->Next = view;
            view->Next = nullptr;
        }
        if (parent == MyDesktop)
            break;
        view = parent;
    }
}

void WView::SetModal(int on)
{
    if (on) {
        Modal |= VIEW_MODAL;
        for (WView* c = Child; c; c = c->Next)
            c->Modal |= VIEW_MODAL;
    } else {
        Modal ^= VIEW_MODAL;
        for (WView* c = Child; c; c = c->Next)
            c->Modal ^= VIEW_MODAL;
    }
}

void WView::TranslatePos(WView* child)
{
    const int32_t cw = Right - InsetW - Left;
    const int32_t ch = Bottom - InsetH - Top;
    if (child->Left < 0) {
        child->Left += cw;
        child->Right += cw;
    }
    const int32_t w = child->Right - child->Left;
    if (w < 0)
        child->Right = w == -1 ? cw : cw + w;
    if (child->Right < 0)
        child->Right += cw;
    if (child->Top < 0) {
        child->Top += ch;
        child->Bottom += ch;
    }
    if (child->Bottom < 0)
        child->Bottom += ch;
    if (child->Placement & PLACE_CENTRE_X) {
        const int32_t pw = Right - Left;
        const int32_t cwidth = child->Right - child->Left;
        child->Left = (pw - cwidth) / 2;
        child->Right = (pw + cwidth) / 2;
    }
    if (child->Placement & PLACE_CENTRE_Y) {
        const int32_t ph = Bottom - Top;
        const int32_t cheight = child->Bottom - child->Top;
        child->Top = (ph - cheight) / 2;
        child->Bottom = (ph + cheight) / 2;
    }
    if (child->Hooks & HOOK_AFTER_TRANSLATE)
        child->AfterTranslate();
}

void WView::Repos()
{
    for (WView* c = Child; c; c = c->Next) {
        c->OriginX -= c->Left;
        c->OriginY -= c->Top;
        c->Left = c->DesignLeft;
        c->Top = c->DesignTop;
        c->Right = c->DesignRight;
        c->Bottom = c->DesignBottom;
        TranslatePos(c);
        c->OriginX += c->Left;
        c->OriginY += c->Top;
        c->Repos();
    }
}

int WView::GetWidth() const
{
    return OriginX ? Right - OriginX : Right - Left;
}

int WView::GetHeight() const
{
    return OriginY ? Bottom - OriginY : Bottom - Top;
}

int WView::GetAbsX() const
{
    int sum = 0;
    for (const WView* v = Parent; v && !(v->State & VS_ROOT); v = v->Parent) {
        sum += v->OriginX;
        if (v->Parent == v)
            break;
    }
    return sum;
}

int WView::GetAbsY() const
{
    int sum = 0;
    for (const WView* v = Parent; v && !(v->State & VS_ROOT); v = v->Parent) {
        sum += v->OriginY;
        if (v->Parent == v)
            break;
    }
    return sum;
}

bool WView::__MouseIn() const
{
    const int x = GetAbsX(), y = GetAbsY();
    return MouseX >= x + Left && MouseX <= x + Right && MouseY >= y + Top &&
           MouseY <= y + Bottom;
}

bool WView::MouseIn() const
{
    if (!__MouseIn())
        return false;
    for (const WView* c = Child; c; c = c->Next)
        if (c->MouseIn())
            return false;
    return true;
}

bool WView::IsDisabled() const
{
    for (const WView* v = this; v && v != MyDesktop; v = v->Parent) {
        if (v->State & VS_DISABLED)
            return true;
        if (v->Parent == v)
            break;
    }
    return false;
}

bool WView::IsActive() const
{
    for (const WView* v = this; v && v != MyDesktop; v = v->Parent) {
        if (!(v->State & VS_ACTIVE))
            return false;
        if (v->Parent == v)
            break;
    }
    return true;
}

bool WView::IsFocused() const
{
    for (const WView* v = Parent; v; v = v->Parent) {
        if (!(v->State & VS_ACTIVE))
            return false;
        if (v->Parent == v)
            break;
    }
    return true;
}

void WView::GetTraceStr(char* out) const
{
    static const char* const kNames[] = {"View",      "Button",     "CheckBox",  "ComboBox",
                                         "Desktop",   "Dialog",     "Group",     "ImageBox",
                                         "InputLine", "ListBox",    "Slider",    "StaticText",
                                         "StatusBox"};
    const char* name = Type < sizeof kNames / sizeof kNames[0] ? kNames[Type] : "Unknown";
    std::strcpy(out, name);
}
