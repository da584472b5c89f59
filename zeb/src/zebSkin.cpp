// Texture slots, palette, standard captions and their built-in tables.
#include "zebSkin.h"

#include <kvException.h>
#include <kvResource.h>

#include <cstring>

void* UITexture[ZEB_TEXTURE_SLOTS] = {};
DWORD ViewPalette[ZEB_PALETTE_SIZE] = {};
char CusCaption[ZEB_CAPTIONS][ZEB_CAPTION_SIZE] = {};
BYTE ButtonStyle = 1;

namespace zeb {

const char kLanguagePacks[ZEB_LANGUAGES][ZEB_CAPTIONS][ZEB_CAPTION_SIZE] = {
    {"确定", "取消", "是", "否", "错误", "信息", "提示", "确认"},
    {"Accept", "Cancel", "Yes", "No", "Error", "Information", "Prompt", "Confirmation"},
};

const DWORD kDefaultPalette[VP_ROLES] = {
    0x801E281E, 0xFF48C848, 0xFF282828, 0xFFACD373, 0xFF282828, 0xFFFFF7F0, 0xFFE0E050,
    0xFF000000, 0xFF000000, 0xFF50A850, 0xFFFFFFFF, 0x96FFFF00, 0xC8FFFFFF,
};

}  // namespace zeb

namespace {
void CheckTextureCount(DWORD count)
{
    if (count > ZEB_TEXTURE_SLOTS)
        NewExceptionf(KVEXCEPTION_GENERAL, "Too many GUI textures: %u, at most %d.",
                      static_cast<unsigned>(count), ZEB_TEXTURE_SLOTS);
}
}  // namespace

void SetGUITexture(kvResource** list, DWORD count)
{
    if (!list) {
        std::memset(UITexture, 0, sizeof UITexture);
        return;
    }
    CheckTextureCount(count);
    for (DWORD i = 0; i < count; ++i)
        UITexture[i] = list[i] ? list[i]->GetPtr() : nullptr;
}

void SetGUITexture(void** list, DWORD count)
{
    if (!list) {
        std::memset(UITexture, 0, sizeof UITexture);
        return;
    }
    CheckTextureCount(count);
    for (DWORD i = 0; i < count; ++i)
        UITexture[i] = list[i];
}

void SetViewPaletteRaw(const DWORD* colours, DWORD bytes)
{
    const DWORD count = bytes / sizeof(DWORD);
    if (count > ZEB_PALETTE_SIZE)
        NewExceptionf(KVEXCEPTION_GENERAL, "Palette too long: %u bytes, at most %d.",
                      static_cast<unsigned>(bytes), int(sizeof ViewPalette));
    if (count && !colours)
        NewException("Palette without colours.", KVEXCEPTION_GENERAL);
    if (count)
        std::memcpy(ViewPalette, colours, count * sizeof(DWORD));
}

void SetLanguagePack(const void* pack, int stride)
{
    if (!pack || stride < 0)
        NewException("Invalid language pack.", KVEXCEPTION_GENERAL);
    const char* base = static_cast<const char*>(pack);
    // Every caption is measured before any is copied, so a refused pack leaves the
    // captions as they were; no caption is read past its 32 bytes.
    for (int i = 0; i < ZEB_CAPTIONS; ++i) {
        const char* s = base + std::ptrdiff_t(i) * stride;
        if (!std::memchr(s, 0, ZEB_CAPTION_SIZE))
            NewExceptionf(KVEXCEPTION_GENERAL, "Language pack caption %d is too long.", i);
    }
    for (int i = 0; i < ZEB_CAPTIONS; ++i)
        std::strcpy(CusCaption[i], base + std::ptrdiff_t(i) * stride);
}
