// The stored records of menus and menu bars, after the base view record:
//   menu  minimum width, item count, then per item its text, command and a has-sub-menu
//         word, followed (when set) by the sub-menu's whole record, type word first
//   bar   drop-down byte, menu count, then each menu's whole record, type word first
// Positions are not stored: AddItem and AddBase recompute them as the record is read.
// The flag words of a nested menu's base record are not read: its place is fixed by the
// record around it. Counts above 32, nesting past MENU_MAX_DEPTH and a nested record of
// another type are refused with an engine exception; whatever was built for the refused
// record is released.
#include "WMenu.h"

#include "menuLinks.h"
#include "viewRecord.h"

#include <kvException.h>
#include <kvStream.h>

namespace {
// Nesting of the menu records being read, the bar's menus at level 1.
int loadDepth = 0;

class NestingLevel {
public:
    NestingLevel()
    {
        if (loadDepth >= MENU_MAX_DEPTH)
            NewExceptionf(KVEXCEPTION_GENERAL,
                          "Menus nested more than %d levels deep in resource file.",
                          MENU_MAX_DEPTH);
        ++loadDepth;
    }
    ~NestingLevel() { --loadDepth; }
    NestingLevel(const NestingLevel&) = delete;
    NestingLevel& operator=(const NestingLevel&) = delete;
};

// Holds a menu being read until its owner takes it; a refusal releases it.
class PendingMenu {
public:
    PendingMenu() : menu(new WMenu(0, 0, 0, "", 0)) {}
    ~PendingMenu()
    {
        if (menu)
            zeb::ReleaseView(menu);
    }
    WMenu* get() const { return menu; }
    WMenu* release()
    {
        WMenu* m = menu;
        menu = nullptr;
        return m;
    }
    PendingMenu(const PendingMenu&) = delete;
    PendingMenu& operator=(const PendingMenu&) = delete;

private:
    WMenu* menu;
};

WMenu* ReadNestedMenu(kvStream* stream)
{
    if (zeb::ReadWord(stream) != WTTMenu)
        NewException("Unexpected view type. It should be WTTMenu.", KVEXCEPTION_GENERAL);
    PendingMenu pending;
    pending.get()->Load(stream);
    return pending.release();
}

int32_t ReadCount(kvStream* stream, const char* what, int limit)
{
    const int32_t count = zeb::ReadWord(stream);
    if (count < 0 || count > limit)
        NewExceptionf(KVEXCEPTION_GENERAL, "%s record holds %d entries; at most %d fit.", what,
                      int(count), limit);
    return count;
}
}  // namespace

void WMenu::Load(kvStream* stream)
{
    NestingLevel level;
    WView::Load(stream);
    Clear();
    MinWidth = zeb::ReadWord(stream);
    const int32_t count = ReadCount(stream, "Menu", MENU_MAX_ITEMS);
    for (int32_t i = 0; i < count; ++i) {
        char text[256];
        stream->LoadStringA(text);
        const DWORD command = DWORD(zeb::ReadWord(stream));
        WMenu* sub = zeb::ReadWord(stream) ? ReadNestedMenu(stream) : nullptr;
        AddItem(text, sub, command);
    }
    SetSize(Left, Top);
}

void WMenu::Save(kvStream* stream)
{
    WView::Save(stream);
    zeb::WriteWord(stream, uint32_t(MinWidth));
    zeb::WriteWord(stream, uint32_t(Count));
    for (int i = 0; i < Count; ++i) {
        stream->SaveString(Items[i].Text);
        zeb::WriteWord(stream, Items[i].Command);
        zeb::WriteWord(stream, Items[i].SubMenu ? 1 : 0);
        if (Items[i].SubMenu)
            Items[i].SubMenu->Save(stream);
    }
}

void WMenuBar::Load(kvStream* stream)
{
    WView::Load(stream);
    Clear();
    BYTE dropDown = 0;
    stream->Read(&dropDown, 1);
    DropDown = dropDown ? 1 : 0;
    const int32_t count = ReadCount(stream, "Menu bar", MENUBAR_MAX_BASES);
    for (int32_t i = 0; i < count; ++i)
        AddBase(ReadNestedMenu(stream));
}

void WMenuBar::Save(kvStream* stream)
{
    WView::Save(stream);
    const BYTE dropDown = DropDown;
    stream->Write(&dropDown, 1);
    zeb::WriteWord(stream, uint32_t(Count));
    for (int i = 0; i < Count; ++i)
        Bases[i].Menu->Save(stream);
}
