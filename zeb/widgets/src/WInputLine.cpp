// WInputLine: text and buffer, typing, keys, pointer placement, scrolling and the record.
//
// Typed bytes: a byte below 0x80 is one character. A code-page lead byte (0x81 to 0xFE)
// waits for the next byte; a valid trail (0x40 to 0xFE but 0x7F) makes one wide
// character of the pair, anything else drops the lead and is taken on its own. Bytes
// that cannot start a character (0x80, 0xFF, controls) are dropped. So a double-byte
// character typed as two bytes never enters as two wrong ones.
#include "WInputLine.h"

#include "WIME.h"

#include <CUIStyle.h>
#include <WText.h>
#include <zebMain.h>

#include "viewRecord.h"
#include "zebDraw.h"

#include <kvIME.h>
#include <kvInput.h>
#include <kvStream.h>

#include <cstring>

namespace {

constexpr int kBackspace = 14;
constexpr int kEnter = 28;
constexpr int kHome = 199;
constexpr int kLeft = 203;
constexpr int kRight = 205;
constexpr int kEnd = 207;
constexpr int kDelete = 211;

bool IsLeadByte(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

bool IsTrailByte(unsigned char c)
{
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

int UnitCount(const WCHAR* text)
{
    int n = 0;
    while (text[n])
        ++n;
    return n;
}

// Code-page bytes of a wide text (surrogates and unmappable characters as one '?').
int AnsiBytes(const WCHAR* text, int units)
{
    if (units <= 0)
        return 0;
    const int n = WideCharToMultiByte(CP_ACP, 0, text, units, nullptr, 0, nullptr, nullptr);
    return n > 0 ? n : 0;
}

}  // namespace

WInputLine::WInputLine(int x, int y, int width, int maxLength, int command, DWORD mode,
                       bool ime, DWORD id)
    : WView(x, y, width, zeb::Writer().height + 4, "InputLine", "", id),
      Text{},
      Buffer{},
      Refused{},
      Mode(int32_t(mode)),
      HasMinus(0),
      HasDot(0),
      IMEEnabled(mode == INPUT_TEXT_IME && ime),
      Cursor(0),
      CursorX(0),
      FirstVisible(0),
      MaxLength(maxLength),
      Command(command),
      TargetStart(-1),
      TargetEnd(-1),
      CompStart(-1),
      CompEnd(-1),
      pendingLead(0)
{
    Type = WTTInputLine;
    Hooks |= HOOK_AFTER_ACTIVE;
    Clear();
}

WInputLine::~WInputLine()
{
    if (WIME* ime = InstalledWIME())
        if (ime->IsReceiver(this))
            ime->SetReceiver(nullptr);
}

int WInputLine::ByteLimit() const
{
    const int buffer = INPUT_LINE_BYTES - 1;
    return MaxLength < 0 ? 0 : (MaxLength < buffer ? MaxLength : buffer);
}

int WInputLine::Length() const
{
    return UnitCount(Buffer);
}

void WInputLine::ChangeText(const char* text)
{
    // Cut at the last whole character that fits the text buffer.
    const unsigned char* in = reinterpret_cast<const unsigned char*>(text ? text : "");
    size_t n = 0;
    for (;;) {
        const size_t step = (IsLeadByte(in[n]) && IsTrailByte(in[n + 1])) ? 2 : 1;
        if (!in[n] || n + step > INPUT_LINE_BYTES - 1)
            break;
        n += step;
    }
    std::memcpy(Text, in, n);
    Text[n] = 0;
    MBtoW();
    Cursor = CursorX = FirstVisible = 0;
    pendingLead = 0;
    ClearComposition();
    DeriveFlags();
}

char* WInputLine::GetText()
{
    WtoMB();
    return Text;
}

void WInputLine::Clear()
{
    ChangeText("");
}

void WInputLine::SetBuffer(const WCHAR* text)
{
    int n = 0;
    while (text && text[n] && n < INPUT_LINE_UNITS - 1) {
        Buffer[n] = text[n];
        ++n;
    }
    Buffer[n] = 0;
    WtoMB();
    // WtoMB may have cut the tail that did not fit the text; the buffer follows it.
    MBtoW();
    const int length = Length();
    if (Cursor > length)
        Cursor = length;
    if (FirstVisible > Cursor)
        FirstVisible = Cursor;
}

void WInputLine::SetRefused(const char* characters)
{
    std::strncpy(Refused, characters ? characters : "", sizeof Refused - 1);
    Refused[sizeof Refused - 1] = 0;
}

void WInputLine::MBtoW()
{
    // Text holds at most 255 bytes, so its characters always fit the buffer.
    const int n = MultiByteToWideChar(CP_ACP, 0, Text, -1, Buffer, INPUT_LINE_UNITS);
    if (n <= 0)
        Buffer[0] = 0;
    Buffer[INPUT_LINE_UNITS - 1] = 0;
}

void WInputLine::WtoMB()
{
    // Whole characters only: stop before the first one that would pass the text buffer.
    int bytes = 0;
    int units = 0;
    for (; Buffer[units]; ++units) {
        const int b = AnsiBytes(Buffer + units, 1);
        if (bytes + b > INPUT_LINE_BYTES - 1)
            break;
        bytes += b;
    }
    if (units > 0)
        WideCharToMultiByte(CP_ACP, 0, Buffer, units, Text, INPUT_LINE_BYTES - 1, nullptr,
                            nullptr);
    Text[bytes] = 0;
}

bool WInputLine::IsFull()
{
    WtoMB();
    return int(std::strlen(Text)) >= ByteLimit();
}

void WInputLine::ClearComposition()
{
    TargetStart = TargetEnd = CompStart = CompEnd = -1;
}

int WInputLine::RangeWidth(int from, int to) const
{
    if (from < 0)
        from = 0;
    if (to <= from)
        return 0;
    WCHAR part[INPUT_LINE_UNITS];
    int n = 0;
    for (int i = from; i < to && Buffer[i]; ++i)
        part[n++] = Buffer[i];
    part[n] = 0;
    return zeb::Writer().GetWidthW(part);
}

void WInputLine::AdaptCursor()
{
    if (Cursor < FirstVisible)
        FirstVisible = Cursor;
    const int room = GetWidth() - 4;
    CursorX = RangeWidth(FirstVisible, Cursor);
    while (CursorX > room && FirstVisible < Cursor) {
        ++FirstVisible;
        CursorX = RangeWidth(FirstVisible, Cursor);
    }
}

void WInputLine::AfterActive()
{
    ClearAsciiBuf();
    pendingLead = 0;
    if (!kvimei)
        return;
    kvEnableIME(IMEEnabled != 0);
    if (WIME* ime = InstalledWIME())
        ime->SetReceiver(IMEEnabled ? this : nullptr);
}

void WInputLine::Draw()
{
    if (!pUIStyle)
        return;
    pUIStyle->SetViewer(this);
    pUIStyle->DrawInputLine();
}

void WInputLine::DeriveFlags()
{
    HasMinus = HasDot = 0;
    for (const WCHAR* c = Buffer; *c; ++c) {
        if (*c == u'-')
            HasMinus = 1;
        if (*c == u'.')
            HasDot = 1;
    }
}

bool WInputLine::AcceptsNumeric(unsigned char c)
{
    if (!std::strchr("0123456789-.", c))
        return false;
    if (c == '.') {
        if (Mode == INPUT_INTEGER || HasDot)
            return false;
        HasDot = 1;
    } else if (c == '-') {
        if (HasMinus || Cursor != 0)
            return false;
        HasMinus = 1;
    }
    return true;
}

void WInputLine::InsertChar(WCHAR c, int bytes)
{
    const int length = Length();
    WtoMB();
    if (int(std::strlen(Text)) + bytes > ByteLimit() || length >= INPUT_LINE_UNITS - 1)
        return;
    std::memmove(Buffer + Cursor + 1, Buffer + Cursor, sizeof(WCHAR) * size_t(length - Cursor + 1));
    Buffer[Cursor++] = c;
    const int room = GetWidth() - 4;
    while (FirstVisible < Cursor && RangeWidth(FirstVisible, Cursor) > room)
        ++FirstVisible;
}

void WInputLine::TypeByte(unsigned char c)
{
    if (pendingLead) {
        const unsigned char lead = pendingLead;
        pendingLead = 0;
        if (IsTrailByte(c)) {
            const char pair[2] = {char(lead), char(c)};
            WCHAR wide = 0;
            if (!(Mode & INPUT_NUMERIC_BIT) &&
                MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pair, 2, &wide, 1) == 1)
                InsertChar(wide, 2);
            return;
        }
    }
    if (IsLeadByte(c)) {
        pendingLead = c;
        return;
    }
    if (c < 0x20 || c >= 0x7F)
        return;
    if (std::strchr(Refused, c))
        return;
    if ((Mode & INPUT_NUMERIC_BIT) && !AcceptsNumeric(c))
        return;
    InsertChar(WCHAR(c), 1);
}

void WInputLine::DeleteAt(int index)
{
    const int length = Length();
    if (index < 0 || index >= length)
        return;
    if (Buffer[index] == u'.')
        HasDot = 0;
    if (Buffer[index] == u'-')
        HasMinus = 0;
    std::memmove(Buffer + index, Buffer + index + 1, sizeof(WCHAR) * size_t(length - index));
}

void WInputLine::RescrollAfterDelete()
{
    const int room = GetWidth() - 4;
    const int length = Length();
    if (RangeWidth(FirstVisible, length) > room) {
        ++FirstVisible;
    } else {
        // Bring hidden text back from the left while the tail leaves room for it.
        while (FirstVisible > 0) {
            --FirstVisible;
            if (RangeWidth(FirstVisible, length) > room) {
                ++FirstVisible;
                break;
            }
        }
    }
    // The step above never leaves the cursor outside the visible text.
    AdaptCursor();
}

void WInputLine::PlaceCursorAt(int pointerX)
{
    const int px = pointerX - (GetAbsX() + Left + 2);
    if (px < 0) {
        Cursor = 0;
        FirstVisible = 0;
        return;
    }
    WText& writer = zeb::Writer();
    int sum = 0;
    int i = FirstVisible;
    for (; Buffer[i]; ++i) {
        const WCHAR one[2] = {Buffer[i], 0};
        const int w = writer.GetWidthW(one);
        if (px >= sum - (w - 1) / 2 && sum + w / 2 >= px)
            break;
        sum += w;
    }
    Cursor = i;
}

bool WInputLine::ImeComposingHere() const
{
    const WIME* ime = InstalledWIME();
    return ime && ime->bComposing && ime->IsReceiver(this) && IsActive();
}

bool WInputLine::KeyPressed(int code)
{
    const int length = Length();
    const int room = GetWidth() - 4;
    switch (code) {
    case kBackspace:
        if (Cursor != FirstVisible) {
            if (!ImeComposingHere()) {
                DeleteAt(Cursor - 1);
                --Cursor;
            }
            RescrollAfterDelete();
        }
        return true;
    case kEnter: {
        VlxMessage command = {};
        SetEventSource(&command, this);
        AddCommand(&command, Command);
        return true;
    }
    case kHome:
        Cursor = FirstVisible = 0;
        return true;
    case kLeft:
        if (Cursor > FirstVisible) {
            --Cursor;
        } else if (FirstVisible > 0) {
            --FirstVisible;
            --Cursor;
        }
        return true;
    case kRight:
        if (Cursor < length) {
            ++Cursor;
            while (FirstVisible < Cursor && RangeWidth(FirstVisible, Cursor) > room)
                ++FirstVisible;
        }
        return true;
    case kEnd:
        Cursor = length;
        AdaptCursor();
        return true;
    case kDelete:
        if (Cursor < length) {
            if (!ImeComposingHere())
                DeleteAt(Cursor);
            RescrollAfterDelete();
        }
        return true;
    default:
        return false;
    }
}

void WInputLine::HandleEvent(VlxMessage* event)
{
    WView::HandleEvent(event);
    if (IsActive()) {
        char c;
        // One byte per event; a byte typed while the line is full is dropped, not kept
        // for later. The event itself is still handled below, so a key that follows fast
        // typing is not lost behind the bytes.
        if (LoadAsciiChar(&c) && !IsFull())
            TypeByte(static_cast<unsigned char>(c));
    }
    if (event->type == VLX_MOUSE) {
        // The press is the line's even when it is empty: left live, it would reach a view
        // lying below, which would take the focus the press has just given the line.
        if (event->action == VLX_MOUSE_PRESS && event->buttons == 1 && MouseIn()) {
            if (Buffer[0])
                PlaceCursorAt(event->x);
            ClearEvent(event);
        }
    } else if (event->type == VLX_KEY && IsActive()) {
        if (KeyPressed(event->x))
            ClearEvent(event);
    }
}

void WInputLine::Load(kvStream* stream)
{
    WView::Load(stream);
    MaxLength = zeb::ReadWord(stream);
    Command = zeb::ReadWord(stream);
    Mode = zeb::ReadWord(stream);
    char text[INPUT_LINE_BYTES];
    stream->LoadStringA(text, sizeof text);
    stream->LoadStringA(Refused, sizeof Refused);
    IMEEnabled = Mode == INPUT_TEXT_IME;
    ChangeText(text);
}

void WInputLine::Save(kvStream* stream)
{
    WView::Save(stream);
    zeb::WriteWord(stream, uint32_t(MaxLength));
    zeb::WriteWord(stream, uint32_t(Command));
    zeb::WriteWord(stream, uint32_t(Mode));
    stream->SaveString(GetText());
    stream->SaveString(Refused);
}

bool zeb::ClipShownRange(int first, int last, int shown, int shownEnd, int* from, int* to)
{
    if (first < 0 || last < 0 || last < first)
        return false;
    *from = first > shown ? first : shown;
    *to = last + 1 < shownEnd ? last + 1 : shownEnd;
    return *from < *to;
}

void zeb::ShownText(const WInputLine* line, int from, int to, char* out)
{
    out[0] = 0;
    if (to <= from)
        return;
    const int n = WideCharToMultiByte(CP_ACP, 0, line->Buffer + from, to - from, out, 255,
                                      nullptr, nullptr);
    out[n > 0 ? n : 0] = 0;
}
