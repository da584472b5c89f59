// The GDI handle table, and SelectObject, DeleteObject and GetObjectType over it.
//
// As on Windows a bitmap is selected into at most one DC, deleting a stock object is a
// harmless no-op, and deleting an object that is still selected succeeds but frees it only
// when the last DC lets go of it, so a caller that deletes in the "wrong" order (the DIB
// before its DC) neither leaks nor leaves a dangling selection.
#include "gdi_objects.h"

#include "font_face.h"

#include <unordered_map>

namespace vexa::platform {

namespace {

struct HandleTable {
    uintptr_t next = 0x10000; // far from null and from small integers passed by mistake
    std::unordered_map<uintptr_t, std::unique_ptr<GdiObject>> objects;
    std::unordered_map<uintptr_t, std::unique_ptr<DeviceContext>> dcs;

    uintptr_t NewHandle() { return next += 4; }
};

HandleTable& Table()
{
    static HandleTable* table = new HandleTable(); // outlives every static destructor
    return *table;
}

uintptr_t Key(const void* handle)
{
    return reinterpret_cast<uintptr_t>(handle);
}

} // namespace

std::mutex& GdiLock()
{
    static std::mutex* lock = new std::mutex();
    return *lock;
}

HGDIOBJ AddGdiObject(std::unique_ptr<GdiObject> object)
{
    uintptr_t handle = Table().NewHandle();
    Table().objects.emplace(handle, std::move(object));
    return reinterpret_cast<HGDIOBJ>(handle);
}

GdiObject* FindGdiObject(HGDIOBJ handle)
{
    auto it = Table().objects.find(Key(handle));
    return it == Table().objects.end() ? nullptr : it->second.get();
}

void EraseGdiObject(HGDIOBJ handle)
{
    Table().objects.erase(Key(handle));
}

HDC AddDeviceContext(std::unique_ptr<DeviceContext> dc)
{
    uintptr_t handle = Table().NewHandle();
    Table().dcs.emplace(handle, std::move(dc));
    return reinterpret_cast<HDC>(handle);
}

DeviceContext* FindDeviceContext(HDC handle)
{
    auto it = Table().dcs.find(Key(handle));
    return it == Table().dcs.end() ? nullptr : it->second.get();
}

bool EraseDeviceContext(HDC handle)
{
    DeviceContext* dc = FindDeviceContext(handle);
    if (!dc)
        return false;
    Deselect(dc->bitmap);
    Deselect(dc->font);
    Table().dcs.erase(Key(handle));
    return true;
}

HGDIOBJ StockBitmap()
{
    static HGDIOBJ handle = [] {
        auto object = std::make_unique<GdiObject>();
        object->type = OBJ_BITMAP;
        object->stock = true;
        object->bitmap = std::make_unique<GdiBitmap>();
        object->bitmap->width = object->bitmap->height = 1;
        object->bitmap->pixels.assign(1, 0);
        return AddGdiObject(std::move(object));
    }();
    return handle;
}

HGDIOBJ StockFont()
{
    // Windows' system font for Chinese has a 16-pixel cell.
    static HGDIOBJ handle = [] {
        auto object = std::make_unique<GdiObject>();
        object->type = OBJ_FONT;
        object->stock = true;
        object->font = std::make_unique<GdiFont>();
        object->font->logFont.lfHeight = 16;
        object->font->logFont.lfWeight = FW_NORMAL;
        object->font->logFont.lfCharSet = GB2312_CHARSET;
        object->font->logFont.lfQuality = DEFAULT_QUALITY;
        object->font->scaled = ResolveFont(object->font->logFont);
        return AddGdiObject(std::move(object));
    }();
    return handle;
}

void Deselect(HGDIOBJ handle)
{
    GdiObject* object = FindGdiObject(handle);
    if (!object)
        return;
    if (object->selections > 0)
        --object->selections;
    if (object->selections == 0) {
        object->owner = nullptr;
        if (object->deletePending)
            EraseGdiObject(handle);
    }
}

void Select(HDC dc, GdiObject& object)
{
    ++object.selections;
    if (object.type == OBJ_BITMAP)
        object.owner = dc;
}

GdiBitmap* SelectedBitmap(const DeviceContext& dc)
{
    GdiObject* object = FindGdiObject(dc.bitmap);
    return object ? object->bitmap.get() : nullptr;
}

ScaledFont* SelectedFont(const DeviceContext& dc)
{
    GdiObject* object = FindGdiObject(dc.font);
    return object && object->font ? object->font->scaled.get() : nullptr;
}

} // namespace vexa::platform

using namespace vexa::platform;

WINAPI_EXPORT HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    DeviceContext* dc = FindDeviceContext(hdc);
    GdiObject* object = FindGdiObject(h);
    if (!dc || !object || object->deletePending)
        return nullptr;
    HGDIOBJ& slot = object->type == OBJ_BITMAP ? dc->bitmap : dc->font;
    if (slot == h)
        return h;
    // A bitmap belongs to one DC at a time; the stock bitmap to every DC.
    if (object->type == OBJ_BITMAP && !object->stock && object->owner && object->owner != hdc)
        return nullptr;
    HGDIOBJ previous = slot;
    Select(hdc, *object);
    slot = h;
    Deselect(previous);
    return previous;
}

WINAPI_EXPORT BOOL WINAPI DeleteObject(HGDIOBJ ho)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    GdiObject* object = FindGdiObject(ho);
    if (!object || object->deletePending)
        return FALSE;
    if (object->stock)
        return TRUE;
    if (object->selections > 0)
        object->deletePending = true;
    else
        EraseGdiObject(ho);
    return TRUE;
}

WINAPI_EXPORT DWORD WINAPI GetObjectType(HGDIOBJ h)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    if (FindDeviceContext(reinterpret_cast<HDC>(h)))
        return OBJ_MEMDC;
    GdiObject* object = FindGdiObject(h);
    return object && !object->deletePending ? object->type : 0;
}
