// Text of the resource compiler: the source is UTF-8, the resource file GBK (code page
// 936), and the views measure their captions through a text writer that stands in for the
// game's 16-pixel font, so the sizes the framework derives from text (a check box's
// height, a list's rows, a menu's width) come out as the game will see them, whatever
// fonts the build machine has.
#ifndef KVRC_KVRTEXT_H
#define KVRC_KVRTEXT_H

#include <WText.h>

#include <string>

namespace kvrc {

// Converts UTF-8 to GBK. Returns false, with what is wrong in *problem, for text that is
// not UTF-8, that holds a NUL, or that holds a character GBK cannot store.
bool Utf8ToGbk(const std::string& utf8, std::string* gbk, std::string* problem);
// Converts GBK to UTF-8; an undecodable byte becomes U+FFFD.
std::string GbkToUtf8(const std::string& gbk);

// Heights as the 16-pixel glyph-cache font gives them (height + 1 a line); widths of 8
// pixels a single-byte character and 16 a double-byte one.
class MeasuringText : public WText {
  public:
    MeasuringText() : WText(16, 0) {}
    void DrawTextA(int, int, const char*) override {}
    int GetWidth(const char* text) override;
    int GetHeight(const char*) override { return height + 1; }
    int GetWidthW(const WCHAR* text) override;
};

} // namespace kvrc

#endif
