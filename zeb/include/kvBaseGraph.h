// kvBaseGraph: the GUI's 2D drawing interface. Every pixel the GUI puts on screen goes
// through the installed pbg; a graphics backend derives from it and sets pbg when its
// device is created. Coordinates are screen pixels with right and bottom exclusive;
// colours are ARGB; textures are the backend's own opaque objects.
#ifndef ZEB_KVBASEGRAPH_H
#define ZEB_KVBASEGRAPH_H

#include <windows.h>

// The base does nothing in every operation, so the GUI can run without a device.
class kvBaseGraph {
public:
    kvBaseGraph();

    // Clears the whole target to colour.
    virtual void ClearScreen(DWORD colour);
    // Fills the rectangle with colour when texture is null; otherwise stretches the whole
    // texture over it and ignores colour.
    virtual void Bar(int x1, int y1, int x2, int y2, DWORD colour, void* texture);
    // Draws the texture at its own size with its top-left corner at (x, y).
    virtual void BltTexture(int x, int y, void* texture);
    // Fills the rectangle from a texture laid out for the whole screen: it shows the
    // texture's top-left corner, (x2 - x1) / ScreenX wide and (y2 - y1) / ScreenY high.
    // sunken is DrawFrame's, passed through for skins that tell the two apart.
    virtual void DrawUITexture(int x1, int y1, int x2, int y2, bool sunken, void* texture);
    // Presents the finished frame.
    virtual void UpdateScreen();
    virtual void BeginScene();
    virtual void EndScene();
    virtual ~kvBaseGraph();
};

// The installed drawing interface; null until a backend sets it. The backend owns it.
extern kvBaseGraph* pbg;

#endif
