// Internal: the GDI handle table. Device contexts, bitmaps and fonts live here; a handle
// is a number that is never reused, so a stale or foreign handle (a window's paint DC, a
// deleted font) finds nothing instead of freed memory.
//
// Invariant: every public GDI function holds GdiLock() while it touches the table or an
// object in it, so callers on other threads see whole operations.
#ifndef VEXA_PLATFORM_GDI_OBJECTS_H
#define VEXA_PLATFORM_GDI_OBJECTS_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace vexa::platform {

class ScaledFont;

// A DIB section: 32-bit pixels 0x00RRGGBB, stored top-down or bottom-up as its header said.
struct GdiBitmap {
    int width = 0;
    int height = 0;
    bool topDown = true;
    std::vector<uint32_t> pixels;

    // Row y counted from the top of the picture, whatever the storage order.
    uint32_t* Row(int y) { return pixels.data() + size_t(topDown ? y : height - 1 - y) * width; }
};

struct GdiFont {
    LOGFONTA logFont{};
    std::shared_ptr<ScaledFont> scaled;
};

struct GdiObject {
    DWORD type = 0; // OBJ_BITMAP or OBJ_FONT
    bool stock = false;
    // DeleteObject on a selected object only marks it; the last deselection frees it.
    bool deletePending = false;
    int selections = 0;
    HDC owner = nullptr; // the one DC a bitmap is selected into
    std::unique_ptr<GdiBitmap> bitmap;
    std::unique_ptr<GdiFont> font;
};

struct DeviceContext {
    HGDIOBJ bitmap = nullptr;
    HGDIOBJ font = nullptr;
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF bkColour = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    UINT textAlign = TA_TOP | TA_LEFT | TA_NOUPDATECP;
    POINT currentPosition{0, 0};
};

std::mutex& GdiLock();

HGDIOBJ AddGdiObject(std::unique_ptr<GdiObject> object);
GdiObject* FindGdiObject(HGDIOBJ handle);
// Frees the object now; the caller has made sure nothing selects it.
void EraseGdiObject(HGDIOBJ handle);

HDC AddDeviceContext(std::unique_ptr<DeviceContext> dc);
DeviceContext* FindDeviceContext(HDC handle);
// Deselects everything the DC holds (freeing objects whose deletion was waiting) and
// forgets the DC. False for an unknown handle.
bool EraseDeviceContext(HDC handle);

// The objects a new memory DC starts with: a 1 x 1 bitmap and the default font.
HGDIOBJ StockBitmap();
HGDIOBJ StockFont();

// Selection bookkeeping shared by SelectObject and DeleteDC.
void Deselect(HGDIOBJ handle);
void Select(HDC dc, GdiObject& object);

GdiBitmap* SelectedBitmap(const DeviceContext& dc);
ScaledFont* SelectedFont(const DeviceContext& dc);

} // namespace vexa::platform

#endif
