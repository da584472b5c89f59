// CreateFontA, CreateFontIndirectA, and what a DC reports of its font: GetTextMetricsA and
// GetTextFaceA.
//
// The face is found and sized when the font is created, so a font that cannot be had fails
// there with a null handle, the one failure the engine checks for. Escapement and
// orientation are kept but text is always drawn horizontally; underline and strike-out
// are reported in the metrics but not drawn.
#include "font_face.h"
#include "gdi_objects.h"

#include "../win32/code_page.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace vexa::platform;

WINAPI_EXPORT HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf)
{
    if (!lplf)
        return nullptr;
    if (lplf->lfEscapement || lplf->lfOrientation || lplf->lfUnderline || lplf->lfStrikeOut) {
        static bool warned = false;
        if (!warned) {
            warned = true;
            std::fprintf(stderr, "platform: fonts draw horizontally, without underline or "
                                 "strike-out lines\n");
        }
    }
    std::lock_guard<std::mutex> guard(GdiLock());
    auto font = std::make_unique<GdiFont>();
    font->logFont = *lplf;
    font->logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    font->scaled = ResolveFont(font->logFont);
    if (!font->scaled)
        return nullptr;
    auto object = std::make_unique<GdiObject>();
    object->type = OBJ_FONT;
    object->font = std::move(font);
    return static_cast<HFONT>(AddGdiObject(std::move(object)));
}

WINAPI_EXPORT HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation,
                                       int cWeight, DWORD bItalic, DWORD bUnderline,
                                       DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                                       DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily,
                                       LPCSTR pszFaceName)
{
    LOGFONTA lf{};
    lf.lfHeight = cHeight;
    lf.lfWidth = cWidth;
    lf.lfEscapement = cEscapement;
    lf.lfOrientation = cOrientation;
    lf.lfWeight = cWeight;
    lf.lfItalic = BYTE(bItalic != 0);
    lf.lfUnderline = BYTE(bUnderline != 0);
    lf.lfStrikeOut = BYTE(bStrikeOut != 0);
    lf.lfCharSet = BYTE(iCharSet);
    lf.lfOutPrecision = BYTE(iOutPrecision);
    lf.lfClipPrecision = BYTE(iClipPrecision);
    lf.lfQuality = BYTE(iQuality);
    lf.lfPitchAndFamily = BYTE(iPitchAndFamily);
    // Longer names are cut to what a LOGFONT holds, as GDI does.
    if (pszFaceName)
        std::strncpy(lf.lfFaceName, pszFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

WINAPI_EXPORT BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    DeviceContext* dc = FindDeviceContext(hdc);
    ScaledFont* font = dc ? SelectedFont(*dc) : nullptr;
    if (!font || !lptm)
        return FALSE;
    const FontMetrics& m = font->Metrics();
    GdiObject* object = FindGdiObject(dc->font);
    const LOGFONTA& lf = object->font->logFont;
    TEXTMETRICA tm{};
    tm.tmHeight = m.height;
    tm.tmAscent = m.ascent;
    tm.tmDescent = m.descent;
    tm.tmInternalLeading = m.internalLeading;
    tm.tmExternalLeading = m.externalLeading;
    tm.tmAveCharWidth = m.aveCharWidth;
    tm.tmMaxCharWidth = m.maxCharWidth;
    tm.tmWeight = font->Weight();
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = BYTE(font->Italic());
    tm.tmUnderlined = lf.lfUnderline;
    tm.tmStruckOut = lf.lfStrikeOut;
    // TMPF_FIXED_PITCH set means a variable pitch, as GDI has it.
    tm.tmPitchAndFamily =
        BYTE(TMPF_VECTOR | TMPF_TRUETYPE | (font->FixedPitch() ? 0 : TMPF_FIXED_PITCH) |
             (font->FixedPitch() ? FF_MODERN : FF_SWISS));
    tm.tmCharSet = GB2312_CHARSET;
    *lptm = tm;
    return TRUE;
}

WINAPI_EXPORT int WINAPI GetTextFaceA(HDC hdc, int c, LPSTR lpName)
{
    std::lock_guard<std::mutex> guard(GdiLock());
    DeviceContext* dc = FindDeviceContext(hdc);
    ScaledFont* font = dc ? SelectedFont(*dc) : nullptr;
    if (!font || c < 0 || (c > 0 && !lpName))
        return 0;
    std::string name = Utf8ToAnsi(font->Family());
    // Without a buffer the answer is the size needed, terminator included.
    if (!lpName)
        return int(name.size()) + 1;
    if (c == 0)
        return 0;
    size_t n = std::min(name.size(), size_t(c) - 1);
    std::memcpy(lpName, name.data(), n);
    lpName[n] = '\0';
    return int(n);
}
