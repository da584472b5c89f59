// kvCFont: the atlas font plus GBK double-byte text. Each double-byte character (lead and
// trail byte both 0xA1 or above) is rasterised on demand into one cell of a second square
// texture, the glyph cache, which starts with the first GB2312 level-1 hanzi and replaces
// its least-used cell when a new character is needed.
//
// Implemented:
//  - everything kvFont draws, with double-byte glyphs in the same call
//  - least-used replacement with ageing: a use adds 1, every draw takes 1 from every
//    cell, a newly loaded glyph starts at 150
//  - at most two draw calls per text, single-byte glyphs first
// Not done: a cache larger than 1024 cells; the device's texture limit is not consulted
// for the cache.
#ifndef KVFONTD3D9_KVCFONT_H
#define KVFONTD3D9_KVCFONT_H

#include "kvFont.h"

#include <windows.h>

class kvCFont : public kvFont {
  public:
    static constexpr DWORD kMaxSlots = 1024;
    static constexpr DWORD kLoadedUsage = 150; // counter of a freshly loaded glyph

    struct Slot {
        DWORD column, row; // fixed cell of the slot
        DWORD usage;       // grows with use, ages by one per draw
    };
    struct CodeEntry {
        DWORD code; // lead * 256 + trail
        DWORD slot;
    };

    IDirect3DTexture9* pCacheTexture;
    IDirect3DVertexBuffer9* pCacheVB; // kMaxQuads double-byte quads
    DWORD CellsPerRow;
    DWORD CacheWidth, CacheHeight; // always equal
    bool bShadow;
    HDC hDC;
    HBITMAP hBitmap; // cell edge x cell edge, top-down, 32-bit
    HFONT hFont;     // the face at the cell's pixel size
    DWORD* pBits;
    // Invariant: the first SlotCount entries of Codes hold distinct codes in ascending
    // order and every slot once; Usage holds every slot once in non-decreasing order of
    // usage. Index SlotCount of each table is a sentinel.
    Slot Slots[kMaxSlots + 1];
    DWORD SlotCount;
    DWORD Usage[kMaxSlots + 1];
    CodeEntry Codes[kMaxSlots + 1];
    float CellCoords[kMaxSlots][4]; // per slot: uL, vT, uR, vB in the cache

    explicit kvCFont(IDirect3DDevice9* device);
    ~kvCFont() override;

    // A double-byte character measures as the height; other bytes from 0x80 up as 0.
    int GetWidth(const char* text) override;
    int GetWidthW(const WCHAR* text) override;
    void DrawTextExA(int x, int y, DWORD textColour, const char* text, float scale) override;

    using kvFont::InitFont;
    // cacheSize 1, 2 or 3 asks for a 256, 512 or 1024 texel cache; any other value lets
    // the height choose.
    virtual void InitFont(DWORD fontHeight, int fontFlags, const char* face, DWORD cacheSize,
                          bool shadow);

    kvCFont(const kvCFont&) = delete;
    kvCFont& operator=(const kvCFont&) = delete;

  private:
    // Index of code among Codes[lo..hi], or the insertion point with bit 31 set.
    DWORD BinSearch(int lo, int hi, DWORD code);
    // Rasterises Codes[index].code into its slot's cell.
    void GetNewChar(DWORD index);
    // The slot that holds code, loading it over the least-used cell when absent.
    DWORD FindSlot(DWORD code);
    // Moves the slot at usage position p back past every slot used less.
    void Reorder(DWORD p);
    void ReleaseGdi();
};

#endif
