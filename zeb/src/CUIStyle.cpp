// The default style's slot table and the installed-style slot.
#include "CUIStyle.h"

CUIStyle* pUIStyle = nullptr;

CUIStyle::CUIStyle() : viewer(nullptr) {}
CUIStyle::~CUIStyle() = default;

// The panels (groups, dialogs, labels, status boxes, image boxes) are drawn in
// CUIStylePanels.cpp, the input line in CUIStyleInput.cpp, the menus in CUIStyleMenus.cpp.
// The widgets below draw nothing until their classes exist.
void CUIStyle::DrawButton() {}
void CUIStyle::DrawDragButton() {}
void CUIStyle::DrawVScrollBar() {}
void CUIStyle::DrawSlider() {}
void CUIStyle::DrawListBox() {}
void CUIStyle::DrawComboBox() {}
void CUIStyle::DrawCheckButton() {}
void CUIStyle::DrawCheckBox() {}

void CUIStyle::DrawSlaveButton()
{
    DrawButton();
}

void SetUIStyle(CUIStyle* style)
{
    if (style == pUIStyle)
        return;
    delete pUIStyle;
    pUIStyle = style;
}
