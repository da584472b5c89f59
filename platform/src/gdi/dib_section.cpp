// CreateDIBSection for 32-bit BI_RGB bitmaps, the only kind the fonts draw into.
//
// The pixels start zeroed (black), as the pages Windows hands a new section do, and the
// bits pointer stays valid until the bitmap is freed. A negative height stores rows
// top-down, a positive one bottom-up. Not supported: other bit depths, compressions and
// file-mapping sections; those fail with a one-time warning.
#include "gdi_objects.h"

#include <cstdio>

using namespace vexa::platform;

namespace {

// Large enough for any picture the system makes, small enough that width * height * 4
// cannot overflow.
constexpr LONG kMaxEdge = 32768;

void WarnOnce(const char* what)
{
    static bool warned = false;
    if (!warned) {
        warned = true;
        std::fprintf(stderr, "platform: CreateDIBSection supports only %s\n", what);
    }
}

} // namespace

WINAPI_EXPORT HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage,
                                              void** ppvBits, HANDLE hSection, DWORD offset)
{
    (void)offset;
    if (ppvBits)
        *ppvBits = nullptr;
    if (!pbmi || pbmi->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return nullptr;
    const BITMAPINFOHEADER& header = pbmi->bmiHeader;
    if (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS)
        return nullptr;
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biPlanes != 1 ||
        header.biWidth > kMaxEdge || header.biHeight > kMaxEdge || header.biHeight < -kMaxEdge)
        return nullptr;
    if (header.biBitCount != 32 || header.biCompression != BI_RGB) {
        WarnOnce("32-bit BI_RGB bitmaps");
        return nullptr;
    }
    if (hSection) {
        WarnOnce("bitmaps in their own memory");
        return nullptr;
    }

    std::lock_guard<std::mutex> guard(GdiLock());
    // The DC only lends its palette, which a 32-bit section never reads; it must be real.
    if (hdc && !FindDeviceContext(hdc))
        return nullptr;
    auto bitmap = std::make_unique<GdiBitmap>();
    bitmap->width = header.biWidth;
    bitmap->height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    bitmap->topDown = header.biHeight < 0;
    bitmap->pixels.assign(size_t(bitmap->width) * bitmap->height, 0);
    void* bits = bitmap->pixels.data();

    auto object = std::make_unique<GdiObject>();
    object->type = OBJ_BITMAP;
    object->bitmap = std::move(bitmap);
    HGDIOBJ handle = AddGdiObject(std::move(object));
    if (ppvBits)
        *ppvBits = bits;
    return static_cast<HBITMAP>(handle);
}
