// Memory device contexts: CreateCompatibleDC, DeleteDC and the text state a DC carries
// (colours, background mode, alignment, mapping mode).
//
// Only memory DCs exist. CreateCompatibleDC accepts null (the screen) or another memory DC;
// the DC BeginPaint hands out stands for a window and draws nothing, so it is refused.
// The mapping mode is always MM_TEXT: one logical unit is one pixel, y grows downwards.
#include "gdi_objects.h"

#include <cstdio>

using namespace vexa::platform;

namespace {

// The colours GDI keeps: an RGB value or a palette reference; anything above is invalid.
bool IsColour(COLORREF colour)
{
    return (colour & 0xFE000000) == 0;
}

} // namespace

WINAPI_EXPORT HDC WINAPI CreateCompatibleDC(HDC hdc)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    if (hdc && !FindDeviceContext(hdc))
        return nullptr;
    auto dc = std::make_unique<DeviceContext>();
    dc->bitmap = StockBitmap();
    dc->font = StockFont();
    HDC handle = AddDeviceContext(std::move(dc));
    DeviceContext* created = FindDeviceContext(handle);
    Select(handle, *FindGdiObject(created->bitmap));
    Select(handle, *FindGdiObject(created->font));
    return handle;
}

WINAPI_EXPORT BOOL WINAPI DeleteDC(HDC hdc)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    return EraseDeviceContext(hdc) ? TRUE : FALSE;
}

WINAPI_EXPORT COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    DeviceContext* dc = FindDeviceContext(hdc);
    if (!dc || !IsColour(color))
        return CLR_INVALID;
    COLORREF previous = dc->textColour;
    dc->textColour = color;
    return previous;
}

WINAPI_EXPORT COLORREF WINAPI GetTextColor(HDC hdc)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    DeviceContext* dc = FindDeviceContext(hdc);
    return dc ? dc->textColour : CLR_INVALID;
}

WINAPI_EXPORT COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    DeviceContext* dc = FindDeviceContext(hdc);
    if (!dc || !IsColour(color))
        return CLR_INVALID;
    COLORREF previous = dc->bkColour;
    dc->bkColour = color;
    return previous;
}

WINAPI_EXPORT COLORREF WINAPI GetBkColor(HDC hdc)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    DeviceContext* dc = FindDeviceContext(hdc);
    return dc ? dc->bkColour : CLR_INVALID;
}

WINAPI_EXPORT int WINAPI SetBkMode(HDC hdc, int mode)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    DeviceContext* dc = FindDeviceContext(hdc);
    if (!dc || (mode != OPAQUE && mode != TRANSPARENT))
        return 0;
    int previous = dc->bkMode;
    dc->bkMode = mode;
    return previous;
}

WINAPI_EXPORT int WINAPI GetBkMode(HDC hdc)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    DeviceContext* dc = FindDeviceContext(hdc);
    return dc ? dc->bkMode : 0;
}

WINAPI_EXPORT UINT WINAPI SetTextAlign(HDC hdc, UINT align)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    DeviceContext* dc = FindDeviceContext(hdc);
    if (!dc)
        return GDI_ERROR;
    UINT previous = dc->textAlign;
    dc->textAlign = align & TA_MASK;
    return previous;
}

WINAPI_EXPORT UINT WINAPI GetTextAlign(HDC hdc)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    DeviceContext* dc = FindDeviceContext(hdc);
    return dc ? dc->textAlign : GDI_ERROR;
}

WINAPI_EXPORT int WINAPI SetMapMode(HDC hdc, int iMode)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    if (!FindDeviceContext(hdc))
        return 0;
    if (iMode != MM_TEXT) {
        static bool warned = false;
        if (!warned) {
            warned = true;
            std::fprintf(stderr, "platform: SetMapMode supports only MM_TEXT\n");
        }
        return 0;
    }
    return MM_TEXT;
}
