// wingdi.h: the GDI calls the fonts use to rasterise glyphs: memory device contexts,
// 32-bit DIB sections, fonts and text output. Included by windows.h.
//
// Implemented over FreeType and fontconfig. A font's face name is looked up through
// fontconfig; an empty or unknown name gives the machine's default sans-serif face for
// simplified Chinese. Text is code page 936. Only 32-bit DIB sections are drawn into.
// Not here: screen and printer DCs, pens, brushes, regions, palettes, mapping modes other
// than MM_TEXT, escapement and orientation, underline and strike-out drawing.
#ifndef VEXA_PLATFORM_WINGDI_H
#define VEXA_PLATFORM_WINGDI_H

#ifndef VEXA_PLATFORM_WINDOWS_H
#error "include <windows.h>"
#endif

DECLARE_HANDLE(HBITMAP);
DECLARE_HANDLE(HFONT);
typedef void* HGDIOBJ;

#define RGB(r, g, b)                                                                               \
    ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) (LOBYTE(rgb))
#define GetGValue(rgb) (LOBYTE(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) (LOBYTE((rgb) >> 16))
#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR (0xFFFFFFFFL)
#define HGDI_ERROR ((HANDLE)(LONG_PTR)-1)

// ---- bitmaps -------------------------------------------------------------------------
typedef struct tagRGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
} RGBQUAD;

typedef struct tagBITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER, *LPBITMAPINFOHEADER, *PBITMAPINFOHEADER;

typedef struct tagBITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
} BITMAPINFO, *LPBITMAPINFO, *PBITMAPINFO;

#define BI_RGB 0L
#define BI_RLE8 1L
#define BI_RLE4 2L
#define BI_BITFIELDS 3L
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

// ---- fonts ---------------------------------------------------------------------------
#define LF_FACESIZE 32

typedef struct tagLOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *PLOGFONTA, *LPLOGFONTA;
typedef LOGFONTA LOGFONT;

typedef struct tagTEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
} TEXTMETRICA, *PTEXTMETRICA, *LPTEXTMETRICA;
typedef TEXTMETRICA TEXTMETRIC;

// weights
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_EXTRALIGHT 200
#define FW_ULTRALIGHT 200
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_DEMIBOLD 600
#define FW_BOLD 700
#define FW_EXTRABOLD 800
#define FW_ULTRABOLD 800
#define FW_HEAVY 900
#define FW_BLACK 900

// character sets
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define MAC_CHARSET 77
#define SHIFTJIS_CHARSET 128
#define HANGEUL_CHARSET 129
#define HANGUL_CHARSET 129
#define JOHAB_CHARSET 130
#define GB2312_CHARSET 134
#define CHINESEBIG5_CHARSET 136
#define GREEK_CHARSET 161
#define TURKISH_CHARSET 162
#define VIETNAMESE_CHARSET 163
#define HEBREW_CHARSET 177
#define ARABIC_CHARSET 178
#define BALTIC_CHARSET 186
#define RUSSIAN_CHARSET 204
#define THAI_CHARSET 222
#define EASTEUROPE_CHARSET 238
#define OEM_CHARSET 255

// output precision
#define OUT_DEFAULT_PRECIS 0
#define OUT_STRING_PRECIS 1
#define OUT_CHARACTER_PRECIS 2
#define OUT_STROKE_PRECIS 3
#define OUT_TT_PRECIS 4
#define OUT_DEVICE_PRECIS 5
#define OUT_RASTER_PRECIS 6
#define OUT_TT_ONLY_PRECIS 7
#define OUT_OUTLINE_PRECIS 8
#define OUT_SCREEN_OUTLINE_PRECIS 9
#define OUT_PS_ONLY_PRECIS 10

// clipping precision
#define CLIP_DEFAULT_PRECIS 0
#define CLIP_CHARACTER_PRECIS 1
#define CLIP_STROKE_PRECIS 2
#define CLIP_MASK 0xf
#define CLIP_LH_ANGLES (1 << 4)
#define CLIP_TT_ALWAYS (2 << 4)
#define CLIP_DFA_DISABLE (4 << 4)
#define CLIP_EMBEDDED (8 << 4)

// quality
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5
#define CLEARTYPE_NATURAL_QUALITY 6

// pitch and family
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define MONO_FONT 8
#define FF_DONTCARE (0 << 4)
#define FF_ROMAN (1 << 4)
#define FF_SWISS (2 << 4)
#define FF_MODERN (3 << 4)
#define FF_SCRIPT (4 << 4)
#define FF_DECORATIVE (5 << 4)

// TEXTMETRIC tmPitchAndFamily bits (TMPF_FIXED_PITCH set means a variable pitch)
#define TMPF_FIXED_PITCH 0x01
#define TMPF_VECTOR 0x02
#define TMPF_TRUETYPE 0x04
#define TMPF_DEVICE 0x08

// ---- device context state ------------------------------------------------------------
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24
#define TA_RTLREADING 256
#define TA_MASK (TA_BASELINE + TA_CENTER + TA_UPDATECP + TA_RTLREADING)

#define TRANSPARENT 1
#define OPAQUE 2

#define MM_TEXT 1

#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004
#define ETO_GLYPH_INDEX 0x0010
#define ETO_RTLREADING 0x0080
#define ETO_IGNORELANGUAGE 0x1000
#define ETO_PDY 0x2000

// GetObjectType
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_MEMDC 10

// ---- functions -----------------------------------------------------------------------
WINAPI_EXPORT HDC WINAPI CreateCompatibleDC(HDC hdc);
WINAPI_EXPORT BOOL WINAPI DeleteDC(HDC hdc);
WINAPI_EXPORT HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);
WINAPI_EXPORT BOOL WINAPI DeleteObject(HGDIOBJ ho);
WINAPI_EXPORT DWORD WINAPI GetObjectType(HGDIOBJ h);

WINAPI_EXPORT HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage,
                                              void** ppvBits, HANDLE hSection, DWORD offset);

WINAPI_EXPORT COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color);
WINAPI_EXPORT COLORREF WINAPI GetTextColor(HDC hdc);
WINAPI_EXPORT COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color);
WINAPI_EXPORT COLORREF WINAPI GetBkColor(HDC hdc);
WINAPI_EXPORT int WINAPI SetBkMode(HDC hdc, int mode);
WINAPI_EXPORT int WINAPI GetBkMode(HDC hdc);
WINAPI_EXPORT UINT WINAPI SetTextAlign(HDC hdc, UINT align);
WINAPI_EXPORT UINT WINAPI GetTextAlign(HDC hdc);
WINAPI_EXPORT int WINAPI SetMapMode(HDC hdc, int iMode);

WINAPI_EXPORT HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation,
                                       int cWeight, DWORD bItalic, DWORD bUnderline,
                                       DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                                       DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily,
                                       LPCSTR pszFaceName);
WINAPI_EXPORT HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf);
WINAPI_EXPORT BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm);
WINAPI_EXPORT int WINAPI GetTextFaceA(HDC hdc, int c, LPSTR lpName);

WINAPI_EXPORT BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl);
WINAPI_EXPORT BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect,
                                      LPCSTR lpString, UINT c, const INT* lpDx);
WINAPI_EXPORT BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c);

#endif
