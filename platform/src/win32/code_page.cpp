// MultiByteToWideChar, WideCharToMultiByte and GetACP for the two code pages the system
// knows: the ANSI code page 936 (GBK, also answered for CP_ACP and CP_OEMCP) and UTF-8.
//
// Code page 936 is decoded through two 64K tables built once from iconv's "CP936"
// converter, so a conversion never calls iconv per character and never reads past its
// input: a lead byte is paired only with a byte that is inside the given length.
// Not supported: other code pages (ERROR_INVALID_PARAMETER), best-fit mappings, MB_COMPOSITE.
#include <windows.h>

#include "code_page.h"

#include <iconv.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// Windows answers an undecodable byte of a double-byte code page without the
// MB_ERR_INVALID_CHARS flag with a replacement; ours is '?', the same text a narrow
// string shows for an unmappable wide character.
constexpr char16_t kAnsiReplacement = u'?';
constexpr char16_t kUtf8Replacement = 0xFFFD;

struct Cp936Tables {
    char16_t toWide[65536] = {};  // index lead << 8 | trail, or the byte for single bytes
    uint16_t toAnsi[65536] = {};  // 0 = unmappable (except U+0000); < 0x100 single byte
};

const Cp936Tables& Tables()
{
    static Cp936Tables* tables = nullptr;
    static std::once_flag once;
    std::call_once(once, [] {
        tables = new Cp936Tables();
        for (int b = 0; b < 0x80; ++b) {
            tables->toWide[b] = char16_t(b);
            tables->toAnsi[b] = uint16_t(b);
        }
        iconv_t cd = iconv_open("UTF-16LE", "CP936");
        if (cd == (iconv_t)-1)
            cd = iconv_open("UTF-16LE", "GBK");
        if (cd == (iconv_t)-1) {
            std::fprintf(stderr, "platform: no CP936 converter in iconv; only ASCII converts\n");
            return;
        }
        auto convert = [&](const unsigned char* in, size_t inLen) -> char16_t {
            char inBuf[2] = {char(in[0]), char(inLen > 1 ? in[1] : 0)};
            unsigned char outBuf[8];
            char* inPtr = inBuf;
            char* outPtr = reinterpret_cast<char*>(outBuf);
            size_t inLeft = inLen, outLeft = sizeof outBuf;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == (size_t)-1 || inLeft != 0 ||
                sizeof outBuf - outLeft != 2)
                return 0;  // unmapped, or outside the BMP (not in code page 936)
            return char16_t(outBuf[0] | (outBuf[1] << 8));
        };
        for (int b = 0x80; b < 0x100; ++b) {
            unsigned char one = (unsigned char)b;
            if (char16_t w = convert(&one, 1)) {
                tables->toWide[b] = w;
                if (!tables->toAnsi[w])
                    tables->toAnsi[w] = uint16_t(b);
            }
        }
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F)
                    continue;
                unsigned char pair[2] = {(unsigned char)lead, (unsigned char)trail};
                char16_t w = convert(pair, 2);
                if (!w)
                    continue;
                tables->toWide[lead << 8 | trail] = w;
                if (!tables->toAnsi[w])
                    tables->toAnsi[w] = uint16_t(lead << 8 | trail);
            }
        }
        iconv_close(cd);
    });
    return *tables;
}

enum class Codec { Ansi, Utf8, Unsupported };

Codec CodecFor(UINT codePage)
{
    switch (codePage) {
    case CP_ACP:
    case CP_OEMCP:
    case 936:
        return Codec::Ansi;
    case CP_UTF8:
        return Codec::Utf8;
    default:
        return Codec::Unsupported;
    }
}

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// Decodes one character at in[i] (i < n); returns false for an invalid sequence. `used`
// is how many bytes it consumed; out receives one or two UTF-16 units.
bool DecodeAnsi(const unsigned char* in, size_t n, size_t i, size_t& used, char16_t out[2],
                int& units)
{
    const Cp936Tables& t = Tables();
    unsigned char b = in[i];
    units = 1;
    used = 1;
    if (IsLeadByte(b)) {
        if (i + 1 < n && IsTrailByte(in[i + 1])) {
            used = 2;
            out[0] = t.toWide[b << 8 | in[i + 1]];
            return out[0] != 0;
        }
        return false;  // lone lead byte: only it is consumed, the next byte stands alone
    }
    out[0] = t.toWide[b];
    return b == 0 || out[0] != 0;
}

bool DecodeUtf8(const unsigned char* in, size_t n, size_t i, size_t& used, char16_t out[2],
                int& units)
{
    unsigned char b = in[i];
    units = 1;
    used = 1;
    if (b < 0x80) {
        out[0] = b;
        return true;
    }
    int extra;
    uint32_t cp, minimum;
    if ((b & 0xE0) == 0xC0) { extra = 1; cp = b & 0x1F; minimum = 0x80; }
    else if ((b & 0xF0) == 0xE0) { extra = 2; cp = b & 0x0F; minimum = 0x800; }
    else if ((b & 0xF8) == 0xF0) { extra = 3; cp = b & 0x07; minimum = 0x10000; }
    else return false;
    for (int k = 1; k <= extra; ++k) {
        if (i + k >= n || (in[i + k] & 0xC0) != 0x80)
            return false;  // consume only the bad lead; its followers are looked at again
        cp = cp << 6 | (in[i + k] & 0x3F);
    }
    used = size_t(extra) + 1;
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out[0] = char16_t(0xD800 + (cp >> 10));
        out[1] = char16_t(0xDC00 + (cp & 0x3FF));
        units = 2;
    } else {
        out[0] = char16_t(cp);
    }
    return true;
}

}  // namespace

WINAPI_EXPORT UINT WINAPI GetACP(void)
{
    return 936;
}

WINAPI_EXPORT int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCCH lpMultiByteStr,
                                             int cbMultiByte, LPWSTR lpWideCharStr,
                                             int cchWideChar)
{
    Codec codec = CodecFor(CodePage);
    if (codec == Codec::Unsupported || !lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 ||
        cchWideChar < 0 || (cchWideChar > 0 && !lpWideCharStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD allowed = codec == Codec::Utf8 ? MB_ERR_INVALID_CHARS
                                               : (MB_PRECOMPOSED | MB_ERR_INVALID_CHARS | 0x4);
    if (dwFlags & ~allowed) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const auto* in = reinterpret_cast<const unsigned char*>(lpMultiByteStr);
    // -1: the input is terminated, and the terminator is converted and counted too.
    size_t n = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : size_t(cbMultiByte);

    size_t written = 0;
    for (size_t i = 0; i < n;) {
        char16_t units[2];
        int count;
        size_t used;
        bool ok = codec == Codec::Ansi ? DecodeAnsi(in, n, i, used, units, count)
                                       : DecodeUtf8(in, n, i, used, units, count);
        if (!ok) {
            if (dwFlags & MB_ERR_INVALID_CHARS) {
                SetLastError(ERROR_NO_UNICODE_TRANSLATION);
                return 0;
            }
            units[0] = codec == Codec::Ansi ? kAnsiReplacement : kUtf8Replacement;
            count = 1;
        }
        i += used;
        if (cchWideChar > 0) {
            if (written + size_t(count) > size_t(cchWideChar)) {
                SetLastError(ERROR_INSUFFICIENT_BUFFER);
                return 0;
            }
            for (int k = 0; k < count; ++k)
                lpWideCharStr[written + k] = units[k];
        }
        written += size_t(count);
    }
    return int(written);
}

WINAPI_EXPORT int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr,
                                             int cchWideChar, LPSTR lpMultiByteStr,
                                             int cbMultiByte, LPCCH lpDefaultChar,
                                             LPBOOL lpUsedDefaultChar)
{
    Codec codec = CodecFor(CodePage);
    if (codec == Codec::Unsupported || !lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 ||
        cbMultiByte < 0 || (cbMultiByte > 0 && !lpMultiByteStr) ||
        (codec == Codec::Utf8 && (lpDefaultChar || lpUsedDefaultChar))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD allowed = codec == Codec::Utf8 ? WC_ERR_INVALID_CHARS
                                               : (WC_NO_BEST_FIT_CHARS | 0x200 | 0x40 | 0x20);
    if (dwFlags & ~allowed) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    size_t n = 0;
    if (cchWideChar == -1) {
        while (lpWideCharStr[n])
            ++n;
        ++n;
    } else {
        n = size_t(cchWideChar);
    }
    const Cp936Tables* t = codec == Codec::Ansi ? &Tables() : nullptr;
    const char* fallback = lpDefaultChar && *lpDefaultChar ? lpDefaultChar : "?";
    size_t fallbackLen = IsLeadByte((unsigned char)fallback[0]) && fallback[1] ? 2 : 1;
    bool usedDefault = false;

    size_t written = 0;
    for (size_t i = 0; i < n;) {
        uint32_t cp = lpWideCharStr[i++];
        bool valid = true;
        if (cp >= 0xD800 && cp <= 0xDBFF && i < n && lpWideCharStr[i] >= 0xDC00 &&
            lpWideCharStr[i] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (lpWideCharStr[i++] - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            valid = false;  // lone surrogate
        }
        char bytes[4];
        size_t len = 0;
        if (codec == Codec::Utf8) {
            if (!valid) {
                if (dwFlags & WC_ERR_INVALID_CHARS) {
                    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
                    return 0;
                }
                cp = kUtf8Replacement;
            }
            if (cp < 0x80) {
                bytes[len++] = char(cp);
            } else if (cp < 0x800) {
                bytes[len++] = char(0xC0 | (cp >> 6));
                bytes[len++] = char(0x80 | (cp & 0x3F));
            } else if (cp < 0x10000) {
                bytes[len++] = char(0xE0 | (cp >> 12));
                bytes[len++] = char(0x80 | ((cp >> 6) & 0x3F));
                bytes[len++] = char(0x80 | (cp & 0x3F));
            } else {
                bytes[len++] = char(0xF0 | (cp >> 18));
                bytes[len++] = char(0x80 | ((cp >> 12) & 0x3F));
                bytes[len++] = char(0x80 | ((cp >> 6) & 0x3F));
                bytes[len++] = char(0x80 | (cp & 0x3F));
            }
        } else {
            uint16_t code = valid && cp < 0x10000 ? t->toAnsi[cp] : 0;
            if (code == 0 && cp != 0) {
                usedDefault = true;
                std::memcpy(bytes, fallback, fallbackLen);
                len = fallbackLen;
            } else if (code < 0x100) {
                bytes[len++] = char(code);
            } else {
                bytes[len++] = char(code >> 8);
                bytes[len++] = char(code & 0xFF);
            }
        }
        if (cbMultiByte > 0) {
            // A double-byte character is never split at the end of the buffer.
            if (written + len > size_t(cbMultiByte)) {
                SetLastError(ERROR_INSUFFICIENT_BUFFER);
                return 0;
            }
            std::memcpy(lpMultiByteStr + written, bytes, len);
        }
        written += len;
    }
    if (lpUsedDefaultChar)
        *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
    return int(written);
}

namespace vexa::platform {

namespace {

std::u16string ToWide(UINT codePage, const std::string& text)
{
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::u16string wide(size_t(n), u'\0');
    MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(), n);
    return wide;
}

std::string ToNarrow(UINT codePage, const std::u16string& wide)
{
    if (wide.empty())
        return {};
    int n = WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string text(size_t(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), text.data(), n, nullptr,
                        nullptr);
    return text;
}

}  // namespace

std::u16string Utf8ToUtf16(const std::string& utf8) { return ToWide(CP_UTF8, utf8); }
std::string Utf16ToUtf8(const std::u16string& utf16) { return ToNarrow(CP_UTF8, utf16); }
std::string Utf8ToAnsi(const std::string& utf8) { return ToNarrow(CP_ACP, Utf8ToUtf16(utf8)); }
std::string AnsiToUtf8(const std::string& ansi) { return Utf16ToUtf8(ToWide(CP_ACP, ansi)); }

size_t AnsiCharLength(const char* text, size_t length)
{
    auto* bytes = reinterpret_cast<const unsigned char*>(text);
    return length > 1 && IsLeadByte(bytes[0]) && IsTrailByte(bytes[1]) ? 2 : 1;
}

}  // namespace vexa::platform
