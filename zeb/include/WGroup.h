// WGroup: a captioned frame round a set of views. The only container that GetSubView
// searches into.
#ifndef ZEB_WGROUP_H
#define ZEB_WGROUP_H

#include "WView.h"

class WGroup : public WView {
public:
    WGroup(int x, int y, int width, int height, const char* caption, DWORD id);
    // The frame, then the children.
    void Draw() override;
};

#endif
