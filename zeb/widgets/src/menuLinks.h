// How the menus hold each other: releasing a reference, and closing an open menu.
#ifndef ZEB_WIDGETS_MENULINKS_H
#define ZEB_WIDGETS_MENULINKS_H

#include <WMenu.h>

namespace zeb {

// Gives back one reference; the last one deletes the view.
inline void ReleaseView(WView* view)
{
    view->DelRef();
    if (view->GetRef() <= 0)
        delete view;
}

// Closes an open menu: what is open below it first, then it leaves its owner and gives
// back the reference its opening took. A closed menu is left alone, so a second close
// never costs the owner its reference.
inline void CloseMenu(WMenu* menu)
{
    if (!menu || !menu->IsOpen())
        return;
    menu->Retreat();
    menu->Parent->DeleteView(menu);
    ReleaseView(menu);
}

}  // namespace zeb

#endif
