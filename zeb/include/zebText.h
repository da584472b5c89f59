// Rules of GBK text that every writer measures by: where a line ends and which bytes
// form one double-byte character.
#ifndef ZEB_ZEBTEXT_H
#define ZEB_ZEBTEXT_H

#include <windows.h>

namespace zeb {

// Bytes of the text's first line: up to its NUL or its first line feed. Null is empty.
int LineBytes(const char* text);

// True when text starts a double-byte character: it and the byte after it are both
// 0xA1 or more. Never reads past a NUL.
bool IsDoubleByte(const char* text);

// Characters in the first len bytes of text, a double-byte pair counting once; a lead
// byte whose pair would cross len counts as one character of its own.
int CharCount(const char* text, int len);

// Copies the longest prefix of text that fits size bytes with its terminator and ends on
// a character boundary, so no double-byte character loses its trail byte. Null copies as
// empty. Pre: size >= 1.
void CopyText(char* out, size_t size, const char* text);

}  // namespace zeb

#endif
