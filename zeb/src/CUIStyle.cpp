// The default style's slot table and the installed-style slot.
#include "CUIStyle.h"

CUIStyle* pUIStyle = nullptr;

CUIStyle::CUIStyle() : viewer(nullptr) {}
CUIStyle::~CUIStyle() = default;

// The panels (groups, dialogs, labels, status boxes, image boxes) are drawn in
// CUIStylePanels.cpp, the buttons and check boxes in CUIStyleButtons.cpp, lists, scroll
// bars, sliders and combo boxes in CUIStyleLists.cpp, the input line in CUIStyleInput.cpp
// and the menus in CUIStyleMenus.cpp.

void SetUIStyle(CUIStyle* style)
{
    if (style == pUIStyle)
        return;
    delete pUIStyle;
    pUIStyle = style;
}
