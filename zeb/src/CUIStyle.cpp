// The default style's slot table and the installed-style slot.
#include "CUIStyle.h"

CUIStyle* pUIStyle = nullptr;

CUIStyle::CUIStyle() : viewer(nullptr) {}
CUIStyle::~CUIStyle() = default;

// Each kind's default look needs the fields of its view class, which live with that
// class; nothing is drawn here in the meantime.
void CUIStyle::DrawGroup() {}
void CUIStyle::DrawStaticText() {}
void CUIStyle::DrawImageBox() {}
void CUIStyle::DrawStatusBox() {}
void CUIStyle::DrawDialog() {}
void CUIStyle::DrawButton() {}
void CUIStyle::DrawInputLine() {}
void CUIStyle::DrawDragButton() {}
void CUIStyle::DrawVScrollBar() {}
void CUIStyle::DrawSlider() {}
void CUIStyle::DrawListBox() {}
void CUIStyle::DrawComboBox() {}
void CUIStyle::DrawCheckButton() {}
void CUIStyle::DrawCheckBox() {}
void CUIStyle::DrawMenu() {}
void CUIStyle::DrawMenuBar() {}

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
