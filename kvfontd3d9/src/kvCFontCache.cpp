// kvCFont: construction, the glyph cache's set-up, rasterising one character and the
// least-used replacement. Drawing and measuring are in kvCFontDraw.cpp.
#include "kvCFont.h"

#include <kvException.h>

#include <cstring>

namespace {

// Cache edge asked for by cacheSize, or by the height when cacheSize names none.
DWORD CacheEdge(DWORD cacheSize, int32_t fontHeight)
{
    switch (cacheSize) {
    case 1:
        return 256;
    case 2:
        return 512;
    case 3:
        return 1024;
    default:
        return fontHeight > 40 ? 1024 : fontHeight > 20 ? 512 : 256;
    }
}

// The first GB2312 level-1 hanzi in code order: 94 characters per lead byte from 0xB0A1.
DWORD InitialCode(DWORD slot)
{
    return 0xB0A1 + (slot / 94) * 256 + slot % 94;
}

} // namespace

kvCFont::kvCFont(IDirect3DDevice9* device)
    : kvFont(device), pCacheTexture(nullptr), pCacheVB(nullptr), CellsPerRow(0), CacheWidth(0),
      CacheHeight(0), bShadow(false), hDC(nullptr), hBitmap(nullptr), hFont(nullptr),
      pBits(nullptr), SlotCount(0)
{
    std::memset(Slots, 0, sizeof(Slots));
    std::memset(Usage, 0, sizeof(Usage));
    std::memset(Codes, 0, sizeof(Codes));
    std::memset(CellCoords, 0, sizeof(CellCoords));
    // A throw here still runs ~kvFont, which gives back the first buffer and the count.
    if (FAILED(device->CreateVertexBuffer(kBufferSize, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                          KVFONT_FVF, D3DPOOL_SYSTEMMEM, &pCacheVB, nullptr)))
        NewException("Failed to create cfont VertexBuffer.", 0);
}

kvCFont::~kvCFont()
{
    ReleaseGdi();
    if (pCacheVB) {
        pCacheVB->Release();
        pCacheVB = nullptr;
    }
    if (pCacheTexture) {
        pCacheTexture->Release();
        pCacheTexture = nullptr;
    }
}

void kvCFont::ReleaseGdi()
{
    if (hDC) {
        DeleteDC(hDC);
        hDC = nullptr;
    }
    if (hBitmap) {
        DeleteObject(hBitmap);
        hBitmap = nullptr;
    }
    if (hFont) {
        DeleteObject(hFont);
        hFont = nullptr;
    }
    pBits = nullptr;
}

void kvCFont::InitFont(DWORD fontHeight, int fontFlags, const char* face, DWORD cacheSize,
                       bool shadow)
{
    bShadow = shadow;
    kvFont::InitFont(fontHeight, fontFlags, face, shadow);
    ReleaseGdi();
    if (pCacheTexture) {
        pCacheTexture->Release();
        pCacheTexture = nullptr;
    }

    const DWORD edge = CacheEdge(cacheSize, height);
    CacheWidth = CacheHeight = edge;
    if (FAILED(pDevice->CreateTexture(edge, edge, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED,
                                      &pCacheTexture, nullptr))) {
        pCacheTexture = nullptr;
        NewException("Failed to create cfontTexture.", 0);
    }
    CellEdge = DWORD(float(height + 1) * RasterScale);
    if (CellEdge == 0)
        CellEdge = 1;

    hDC = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = LONG(CellEdge);
    info.bmiHeader.biHeight = -LONG(CellEdge);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    if (hDC)
        hBitmap = CreateDIBSection(hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    pBits = static_cast<DWORD*>(bits);
    if (!hBitmap || !pBits)
        NewException("Failed to create font bitmap.", 0);
    // A positive height asks for the cell height, leading included: the glyph fills its
    // cell as it would a line.
    hFont = CreateFontA(int(float(height) * RasterScale), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        ANTIALIASED_QUALITY, VARIABLE_PITCH, face ? face : "");
    if (!hFont)
        NewException("Failed to create hFont.", 0);
    SelectObject(hDC, hBitmap);
    SelectObject(hDC, hFont);
    SetTextColor(hDC, RGB(255, 255, 255));
    SetBkColor(hDC, 0);
    SetTextAlign(hDC, TA_LEFT | TA_TOP);

    CellsPerRow = edge / CellEdge;
    SlotCount = CellsPerRow * CellsPerRow < kMaxSlots ? CellsPerRow * CellsPerRow : kMaxSlots;
    Codes[SlotCount] = {0xFFFF, SlotCount};
    Usage[SlotCount] = SlotCount;
    Slots[SlotCount].usage = 0xFFFFFFFF;
    const float e = float(edge);
    for (DWORD s = 0; s < SlotCount; ++s) {
        const DWORD column = s % CellsPerRow;
        const DWORD row = s / CellsPerRow;
        Slots[s] = {column, row, 1};
        Codes[s] = {InitialCode(s), s};
        Usage[s] = s;
        CellCoords[s][0] = float(CellEdge * column) / e;
        CellCoords[s][1] = float(CellEdge * row) / e;
        CellCoords[s][2] = float(CellEdge * (column + 1)) / e;
        CellCoords[s][3] = float(CellEdge * (row + 1)) / e;
        GetNewChar(s);
    }
}

DWORD kvCFont::BinSearch(int lo, int hi, DWORD code)
{
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        if (Codes[mid].code == code)
            return DWORD(mid);
        if (Codes[mid].code < code)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return DWORD(lo) | 0x80000000u;
}

void kvCFont::GetNewChar(DWORD index)
{
    const char glyph[2] = {char(Codes[index].code >> 8), char(Codes[index].code & 0xFF)};
    // The opaque box covers only the glyph's extent; the rest of the cell may still hold
    // the glyph drawn before.
    std::memset(pBits, 0, size_t(CellEdge) * CellEdge * sizeof(DWORD));
    ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, nullptr, glyph, 2, nullptr);
    // From the slot's cell itself: the float rectangle can land a hair under a texel.
    const Slot& slot = Slots[Codes[index].slot];
    const RECT cell = {LONG(slot.column * CellEdge), LONG(slot.row * CellEdge),
                       LONG((slot.column + 1) * CellEdge), LONG((slot.row + 1) * CellEdge)};
    D3DLOCKED_RECT locked = {};
    if (FAILED(pCacheTexture->LockRect(0, &locked, &cell, 0)))
        return;
    ConvertCoverage(pBits, CellEdge, CellEdge, static_cast<BYTE*>(locked.pBits), locked.Pitch,
                    bShadow);
    pCacheTexture->UnlockRect(0);
}

void kvCFont::Reorder(DWORD p)
{
    const DWORD s = Usage[p];
    // The sentinel's counter is the largest there is, so the walk ends at the list's end.
    while (Slots[Usage[p + 1]].usage < Slots[s].usage) {
        Usage[p] = Usage[p + 1];
        ++p;
    }
    Usage[p] = s;
}

DWORD kvCFont::FindSlot(DWORD code)
{
    DWORD j = BinSearch(0, int(SlotCount) - 1, code);
    if (!(j & 0x80000000u)) {
        const DWORD s = Codes[j].slot;
        ++Slots[s].usage;
        DWORD p = 0;
        while (Usage[p] != s)
            ++p;
        Reorder(p);
        return s;
    }
    j &= ~0x80000000u;
    const DWORD victim = Usage[0];
    DWORD k = 0;
    while (Codes[k].slot != victim)
        ++k;
    while (j > 0 && code < Codes[j - 1].code)
        --j;
    while (code > Codes[j].code)
        ++j;
    // Take the victim's entry out and put the new code in its sorted place.
    if (j > k) {
        std::memmove(&Codes[k], &Codes[k + 1], sizeof(CodeEntry) * (j - 1 - k));
        j -= 1;
    } else {
        std::memmove(&Codes[j + 1], &Codes[j], sizeof(CodeEntry) * (k - j));
    }
    Codes[j] = {code, victim};
    GetNewChar(j);
    Slots[victim].usage = kLoadedUsage;
    Reorder(0);
    return victim;
}
