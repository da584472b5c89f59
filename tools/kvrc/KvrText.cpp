// UTF-8 and GBK through the platform's code-page functions, one character at a time, so a
// refusal can name the character.
#include "KvrText.h"

#include <windows.h>

#include <cstdio>

namespace kvrc {
namespace {

std::string Utf16ToUtf8(const std::u16string& wide)
{
    if (wide.empty())
        return {};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string utf8(size_t(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), bytes, nullptr,
                            nullptr);
    return utf8;
}

} // namespace

bool Utf8ToGbk(const std::string& utf8, std::string* gbk, std::string* problem)
{
    gbk->clear();
    if (utf8.empty())
        return true;
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                          int(utf8.size()), nullptr, 0);
    if (units <= 0) {
        *problem = "the text is not valid UTF-8";
        return false;
    }
    std::u16string wide(size_t(units), u'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), wide.data(),
                        units);
    for (size_t i = 0; i < wide.size();) {
        const bool pair = wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size();
        const int length = pair ? 2 : 1;
        const unsigned codePoint =
            pair ? 0x10000u + ((unsigned(wide[i]) - 0xD800u) << 10) + (wide[i + 1] - 0xDC00u)
                 : unsigned(wide[i]);
        if (codePoint == 0) {
            *problem = "the text holds a NUL character";
            return false;
        }
        char bytes[8];
        BOOL usedDefault = FALSE;
        const int n = WideCharToMultiByte(936, 0, wide.data() + i, length, bytes, int(sizeof bytes),
                                          nullptr, &usedDefault);
        if (n <= 0 || usedDefault) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", codePoint);
            *problem = "the character " + Utf16ToUtf8(wide.substr(i, size_t(length))) + " (" +
                       code + ") has no GBK code";
            return false;
        }
        gbk->append(bytes, size_t(n));
        i += size_t(length);
    }
    return true;
}

std::string GbkToUtf8(const std::string& gbk)
{
    if (gbk.empty())
        return {};
    const int units = MultiByteToWideChar(936, 0, gbk.data(), int(gbk.size()), nullptr, 0);
    std::u16string wide(size_t(units > 0 ? units : 0), u'\0');
    if (units > 0)
        MultiByteToWideChar(936, 0, gbk.data(), int(gbk.size()), wide.data(), units);
    return Utf16ToUtf8(wide);
}

int MeasuringText::GetWidth(const char* text)
{
    int width = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
         p && *p && *p != '\n'; ++p) {
        if (*p >= 0x81 && p[1]) {
            width += 16;
            ++p;
        } else {
            width += 8;
        }
    }
    return width;
}

int MeasuringText::GetWidthW(const WCHAR* text)
{
    int width = 0;
    for (const WCHAR* p = text; p && *p && *p != '\n'; ++p)
        width += *p < 0x80 ? 8 : 16;
    return width;
}

} // namespace kvrc
