// WGroup: construction and drawing.
#include "WGroup.h"

#include "CUIStyle.h"

WGroup::WGroup(int x, int y, int width, int height, const char* caption, DWORD id)
    : WView(x, y, width, height, caption, "", id)
{
    Type = WTTGroup;
}

void WGroup::Draw()
{
    if (pUIStyle) {
        pUIStyle->SetViewer(this);
        pUIStyle->DrawGroup();
    }
    WView::Draw();
}
