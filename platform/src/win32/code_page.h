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
// Bytes of the code-page 936 character that starts `text`, of which `length` (> 0) bytes
// are left: 2 for a lead byte whose trail byte is still inside, else 1.
size_t AnsiCharLength(const char* text, size_t length);

}  // namespace vexa::platform

#endif
