// The skin the default style draws with: texture slots, the colour palette, the standard
// captions with their two built-in languages, and the style byte of new buttons.
#ifndef ZEB_ZEBSKIN_H
#define ZEB_ZEBSKIN_H

#include <windows.h>

class kvResource;

// ---- textures ------------------------------------------------------------------------
#define ZEB_TEXTURE_SLOTS 12
// Slot 0: the interior of frames drawn with fill 2. Slot 1: the face of buttons whose
// style byte is not 1. The rest are the application's.
#define UITEXTURE_FRAME 0
#define UITEXTURE_BUTTON 1

// Borrowed backend textures, all null at load. Invariant: a slot is cleared before the
// resource it came from releases its texture.
extern void* UITexture[ZEB_TEXTURE_SLOTS];

// UITexture[i] = list[i]->GetPtr() for i below count (a null resource gives a null slot);
// later slots keep their textures. A null list clears all slots. Throws when count
// exceeds the slots, changing nothing.
void SetGUITexture(kvResource** list, DWORD count);
// The same with the textures themselves.
void SetGUITexture(void** list, DWORD count);

// ---- palette -------------------------------------------------------------------------
// Roles of the palette entries used by the default style and the desktop.
enum ViewPaletteRole {
    VP_INTERIOR = 0,
    VP_LIGHT = 1,
    VP_DARK = 2,
    VP_TEXT = 3,
    VP_DISABLED_TEXT = 4,
    VP_HIGHLIGHT_TEXT = 5,
    VP_COMMENT_BACK = 6,
    VP_COMMENT_TEXT = 7,
    VP_SELECTED_ROW = 8,
    VP_CARET = 9,
    VP_SELECTED_TEXT = 10,
    VP_SELECTION_BACK = 11,
    VP_COMPOSITION_LINE = 12,
    VP_ROLES = 13
};
// Room for three application colours after the ones with roles.
#define ZEB_PALETTE_SIZE 16

// ARGB colours, all zero at load.
extern DWORD ViewPalette[ZEB_PALETTE_SIZE];

// Copies bytes / 4 colours into ViewPalette from entry 0 (the count is in bytes, a
// partial colour is dropped). Throws when they do not fit or colours is null while bytes
// is not 0, changing nothing.
void SetViewPaletteRaw(const DWORD* colours, DWORD bytes);

// ---- captions ------------------------------------------------------------------------
#define ZEB_CAPTIONS 8
#define ZEB_CAPTION_SIZE 32
enum CusCaptionIndex {
    CC_OK = 0,
    CC_CANCEL = 1,
    CC_YES = 2,
    CC_NO = 3,
    CC_ERROR = 4,
    CC_INFORMATION = 5,
    CC_PROMPT = 6,
    CC_CONFIRMATION = 7
};

// Standard captions, GBK, NUL-terminated; empty at load.
extern char CusCaption[ZEB_CAPTIONS][ZEB_CAPTION_SIZE];

// Replaces the eight captions with the strings at pack, pack + stride, ...,
// pack + 7 * stride. Throws when pack is null, stride negative, or a string does not fit
// 32 bytes with its terminator, changing nothing.
void SetLanguagePack(const void* pack, int stride);

// ---- buttons -------------------------------------------------------------------------
// Style byte copied into each new button: 1 draws its frame only under the pointer.
extern BYTE ButtonStyle;

namespace zeb {

#define ZEB_LANGUAGES 2
// The built-in caption tables: 0 Chinese, 1 English; ZEB_CAPTION_SIZE bytes a caption.
extern const char kLanguagePacks[ZEB_LANGUAGES][ZEB_CAPTIONS][ZEB_CAPTION_SIZE];

// The colours the framework starts with, one per role.
extern const DWORD kDefaultPalette[VP_ROLES];

}  // namespace zeb

#endif
