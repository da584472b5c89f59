// Internal: the code-page 936 and UTF-8 codecs behind MultiByteToWideChar and
// WideCharToMultiByte, for the other platform files that convert at the edge.
#ifndef VEXA_PLATFORM_CODE_PAGE_H
#define VEXA_PLATFORM_CODE_PAGE_H

#include <string>

namespace vexa::platform {

// UTF-8 (as Linux hands text over) to code page 936; unmappable characters become '?'.
std::string Utf8ToAnsi(const std::string& utf8);
// Code page 936 to UTF-8, for captions, message boxes and font lookup.
std::string AnsiToUtf8(const std::string& ansi);
std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::u16string& utf16);

}  // namespace vexa::platform

#endif
