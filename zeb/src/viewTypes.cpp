// The stored view classes by type code. Each entry builds its class with the arguments
// the loader gives every view of that kind; Load then fills in the record. A class joins
// the loader by adding its line here. Types never stored (the desktop 4, the owned parts
// 13 to 15, the horizontal scroll bar 18) have no line.
#include "viewTypes.h"

#include "WButton.h"
#include "WCheckBox.h"
#include "WComboBox.h"
#include "WDialog.h"
#include "WGroup.h"
#include "WImageBox.h"
#include "WInputLine.h"
#include "WListBox.h"
#include "WMenu.h"
#include "WSlider.h"
#include "WStaticText.h"

namespace zeb {
namespace {

struct StoredViewClass {
    DWORD type;
    WView* (*create)();
};

const StoredViewClass kStoredViewClasses[] = {
    {WTTView, [] { return new WView(0, 0, 0, 0, "", "", 0); }},
    {WTTButton, []() -> WView* { return new WButton(0, 0, 0, 0, "", "", 0, 0); }},
    {WTTCheckBox, []() -> WView* { return new WCheckBox(0, 0, 0, 0, "", 0); }},
    {WTTComboBox, []() -> WView* { return new WComboBox(0, 0, 0, 0, 0, 0, 0); }},
    {WTTDialog, []() -> WView* { return new WDialog(0, 0, 0, 0, "", 0); }},
    {WTTGroup, []() -> WView* { return new WGroup(0, 0, 0, 0, "", 0); }},
    {WTTImageBox, []() -> WView* { return new WImageBox(0, 0, 0, 0, nullptr, 0, 0); }},
    {WTTInputLine, []() -> WView* { return new WInputLine(0, 0, 0, 0, 0, 0, true, 0); }},
    {WTTListBox, []() -> WView* { return new WListBox(0, 0, 0, 0, 0, 0); }},
    {WTTSlider, []() -> WView* { return new WSlider(nullptr, 0, 0, 0, 0, 0); }},
    {WTTStaticText, []() -> WView* { return new WStaticText(0, 0, 0, 0, "", 0, 0); }},
    {WTTStatusBox, []() -> WView* { return new WStatusBox(0, 0, 0, 0, "", 0); }},
    {WTTMenu, []() -> WView* { return new WMenu(0, 0, 0, "", 0); }},
    {WTTMenuBar, []() -> WView* { return new WMenuBar(0, 0, 0, 0, true, 0); }},
};

}  // namespace

WView* CreateStoredView(DWORD type)
{
    for (const StoredViewClass& c : kStoredViewClasses)
        if (c.type == type)
            return c.create();
    return nullptr;
}

}  // namespace zeb
