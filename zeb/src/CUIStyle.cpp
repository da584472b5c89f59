// The default style's slot table and the installed-style slot.
#include "CUIStyle.h"

CUIStyle* pUIStyle = nullptr;

CUIStyle::CUIStyle() : viewer(nullptr) {}
CUIStyle::~CUIStyle() = default;

// The panels (groups, dialogs, labels, status boxes, image boxes) are drawn in
// CUIStylePanels.cpp, the buttons and check boxes in CUIStyleButtons.cpp, lists, scroll
// bars, sliders and combo boxes in CUIStyleLists.cpp. The widgets below draw nothing
// until their classes exist.
void CUIStyle::DrawInputLine() {}
void CUIStyle::DrawMenu() {}
void CUIStyle::DrawMenuBar() {}

void SetUIStyle(CUIStyle* style)
{
    if (style == pUIStyle)
        return;
    delete pUIStyle;
    pUIStyle = style;
}
