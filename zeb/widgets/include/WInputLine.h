// WInputLine: the one-line text field. It edits wide characters (the buffer) and keeps the
// same text in code page 936 (the text), whose bytes the length limit counts. Typed bytes
// come from the runtime's typed-character buffer, keys as DirectInput codes, composed
// Chinese text from the input method object (WIME) while the line is its receiver.
//
// Invariants: 0 <= FirstVisible <= Cursor <= length of Buffer; Buffer holds at most
// INPUT_LINE_UNITS - 1 units and its code-page text at most ByteLimit() bytes, whoever
// wrote it (typing, ChangeText, the record, the input method). The four range fields are
// -1 except while a composition is shown in place.
#ifndef ZEB_WINPUTLINE_H
#define ZEB_WINPUTLINE_H

#include <WView.h>

#define INPUT_LINE_BYTES 256
#define INPUT_LINE_UNITS 256

// Modes; the numeric bit admits only digits, one leading minus and (decimal only) one dot.
#define INPUT_TEXT 0
#define INPUT_TEXT_IME 1
#define INPUT_INTEGER 2
#define INPUT_DECIMAL 3
#define INPUT_NUMERIC_BIT 2

class WInputLine : public WView {
public:
    char Text[INPUT_LINE_BYTES];
    WCHAR Buffer[INPUT_LINE_UNITS];
    char Refused[INPUT_LINE_BYTES];  // single-byte characters typing ignores
    int32_t Mode;
    BYTE HasMinus;
    BYTE HasDot;
    BYTE IMEEnabled;  // the input method may compose here (mode 1 only)
    int32_t Cursor;   // insertion position, in wide characters
    int32_t CursorX;  // pixels of visible text before the cursor, for drawing
    int32_t FirstVisible;
    int32_t MaxLength;  // limit in code-page bytes
    int32_t Command;    // posted on Enter
    int32_t TargetStart, TargetEnd;  // the clause being converted, inclusive
    int32_t CompStart, CompEnd;      // the composition shown in place, inclusive

    WInputLine(int x, int y, int width, int maxLength, int command, DWORD mode, bool ime,
               DWORD id);
    // Leaves the input method without a receiver when it is this line.
    ~WInputLine() override;

    // Replaces the text, cut at a character boundary to the buffer; the cursor and the
    // scroll go to the start and any composition is forgotten.
    void ChangeText(const char* text);
    // The text in code page 936, converted from the buffer.
    char* GetText();
    void Clear();
    // Replaces the wide buffer (cut to fit, cursor kept inside it) and its text.
    void SetBuffer(const WCHAR* text);
    WCHAR* GetBuffer() { return Buffer; }
    void SetRefused(const char* characters);
    void MBtoW();
    void WtoMB();
    bool IsFull();
    // The bytes the text may take: MaxLength, but never more than the text buffer holds.
    int ByteLimit() const;
    int Length() const;
    void ClearComposition();
    // Scrolls so that the cursor is visible, and measures CursorX.
    void AdaptCursor();
    // Pixel width of Buffer[from, to).
    int RangeWidth(int from, int to) const;

    void AfterActive() override;
    void Draw() override;
    void HandleEvent(VlxMessage* event) override;
    void Load(kvStream* stream) override;
    void Save(kvStream* stream) override;

private:
    void TypeByte(unsigned char c);
    void InsertChar(WCHAR c, int bytes);
    bool AcceptsNumeric(unsigned char c);
    void DeleteAt(int index);
    void RescrollAfterDelete();
    void PlaceCursorAt(int pointerX);
    bool KeyPressed(int code);
    bool ImeComposingHere() const;
    void DeriveFlags();

    // The lead byte of a double-byte character typed as two bytes, waiting for its
    // trail; 0 when none.
    unsigned char pendingLead;
};

// What a style needs to draw a line's visible text, shared by every style.
namespace zeb {
// The part of an inclusive range [first, last] that lies in the shown characters
// [shown, shownEnd); false when the range is absent or outside.
bool ClipShownRange(int first, int last, int shown, int shownEnd, int* from, int* to);
// Buffer[from, to) in the code page, into out of at least 256 bytes.
void ShownText(const WInputLine* line, int from, int to, char* out);
}  // namespace zeb

#endif
