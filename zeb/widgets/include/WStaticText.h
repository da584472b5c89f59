// WStaticText: a label of one or more lines; WStatusBox: a framed one-line status field.
// A left press on either is sent at once to its owner as command 13, with the label as
// the event's source.
#ifndef ZEB_WSTATICTEXT_H
#define ZEB_WSTATICTEXT_H

#include <WView.h>

#define STATIC_TEXT_SIZE 2048
// Command sent to the owner when a label is clicked.
#define VLX_CMD_LABEL_CLICKED 13

class WStaticText : public WView {
public:
    char Text[STATIC_TEXT_SIZE];  // GBK, may hold line feeds
    DWORD TextFormat;             // WText flags while drawing: 6 centres every line

    WStaticText(int x, int y, int width, int height, const char* text, DWORD format, DWORD id);

    // Copies the text (cut at a character boundary when longer than the buffer) and
    // measures it into CaptionW and CaptionH.
    void ChangeText(const char* text);

    void Load(kvStream* stream) override;
    void Save(kvStream* stream) override;
    void Draw() override;
    void HandleEvent(VlxMessage* event) override;
};

class WStatusBox : public WStaticText {
public:
    WStatusBox(int x, int y, int width, int height, const char* text, DWORD id);
    void Draw() override;
};

#endif
