// WText: the one text writer through which the GUI measures and draws all text. The
// framework has no font code of its own; a font library derives from WText and the
// application installs its writer with SetOutText before the first view is built.
#ifndef ZEB_WTEXT_H
#define ZEB_WTEXT_H

#include <windows.h>

// Anchoring of the text at (x, y), in WText::flags.
#define WTEXT_LEFT 0
#define WTEXT_RIGHT 2
#define WTEXT_CENTRE 6
#define WTEXT_BOTTOM 8

// Text is GBK, NUL-terminated. The base writer draws nothing and measures everything as
// 0, so a program without fonts still runs its GUI.
class WText {
public:
    int32_t height;  // font height in pixels
    int32_t flags;   // WTEXT_* anchoring used by DrawTextA
    DWORD colour;    // ARGB colour used by DrawTextA

    explicit WText(int height = 12, int flags = 0);

    // Draws the text at (x, y) in colour, anchored by flags.
    virtual void DrawTextA(int x, int y, const char* text);
    // Width in pixels of the text up to its end or its first line feed.
    virtual int GetWidth(const char* text);
    // Line height in pixels.
    virtual int GetHeight(const char* text);
    // Width in pixels of a wide text (UTF-16 code units).
    virtual int GetWidthW(const WCHAR* text);
    virtual ~WText();
};

// The installed writer; null until SetOutText.
extern WText* OutText;

// Installs writer; the framework owns the installed writer from then on (FreeZeb deletes
// it). A writer replaced by another is not released and stays its creator's.
void SetOutText(WText* writer);

#endif
