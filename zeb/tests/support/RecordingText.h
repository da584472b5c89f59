// Test helper: a text writer with a fixed-pitch font that needs no device. A single-byte
// character is height / 2 pixels wide and a double-byte one height pixels; a line is
// height pixels high. Every draw goes to a DrawLog with its anchoring and colour, e.g.
// DrawTextA(10,20,"OK",flags=6,colour=0xFFACD373); the text keeps its GBK bytes.
#ifndef ZEB_TESTS_RECORDINGTEXT_H
#define ZEB_TESTS_RECORDINGTEXT_H

#include "DrawLog.h"

#include <WText.h>
#include <zebText.h>

class RecordingText : public WText {
public:
    // Pre: log outlives the recorder (the framework deletes an installed writer).
    explicit RecordingText(DrawLog* drawLog, int h = 16, int f = 0) : WText(h, f), log(drawLog) {}

    void DrawTextA(int x, int y, const char* text) override
    {
        log->push_back("DrawTextA(" + std::to_string(x) + "," + std::to_string(y) + ",\"" +
                       (text ? text : "(null)") + "\",flags=" + std::to_string(flags) +
                       ",colour=" + zebtest::Colour(colour) + ")");
    }
    int GetWidth(const char* text) override
    {
        const int len = zeb::LineBytes(text);
        int width = 0;
        for (int i = 0; i < len;) {
            const bool wide = i + 1 < len && zeb::IsDoubleByte(text + i);
            width += wide ? height : height / 2;
            i += wide ? 2 : 1;
        }
        return width;
    }
    int GetHeight(const char*) override { return height; }
    int GetWidthW(const WCHAR* text) override
    {
        int width = 0;
        for (; text && *text; ++text)
            width += *text < 0x80 ? height / 2 : height;
        return width;
    }
    ~RecordingText() override { log->push_back("~RecordingText"); }

    DrawLog* log;
};

#endif
