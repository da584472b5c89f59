// WView: the base record of a view in a resource file. All words are 32-bit
// little-endian; the type word is written here and read by the loader.
#include "WView.h"

#include "viewRecord.h"

#include <kvException.h>
#include <kvStream.h>

#include <initializer_list>

namespace zeb {

int32_t ReadWord(kvStream* stream)
{
    uint8_t b[4];
    stream->Read(b, 4);
    return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                   uint32_t(b[3]) << 24);
}

void WriteWord(kvStream* stream, uint32_t value)
{
    const uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                          uint8_t(value >> 24)};
    stream->Write(b, 4);
}

}  // namespace zeb

using zeb::ReadWord;
using zeb::WriteWord;

namespace {
// Parts that their owners build themselves and that are never stored. The horizontal
// scroll bar is one too: the loader has no constructor for it, so storing one would
// write a block that cannot be read back.
bool IsOwnedPart(const WView* view)
{
    return view->Type == WTTVScrollBar || view->Type == WTTSlaveButton ||
           view->Type == WTTCheckButton || view->Type == WTTHScrollBar;
}
}  // namespace

void WView::Load(kvStream* stream)
{
    LoadFlags = 0;
    if (ReadWord(stream))
        LoadFlags |= LOAD_HAS_CHILDREN;
    if (ReadWord(stream))
        LoadFlags |= LOAD_HAS_NEXT;
    DesignLeft = ReadWord(stream);
    DesignTop = ReadWord(stream);
    DesignRight = ReadWord(stream);
    DesignBottom = ReadWord(stream);
    for (int32_t edge : {DesignLeft, DesignTop, DesignRight, DesignBottom})
        if (edge < -VIEW_COORD_LIMIT || edge > VIEW_COORD_LIMIT)
            NewException("View coordinates are out of range.", KVEXCEPTION_GENERAL);
    State = DWORD(ReadWord(stream));
    Placement = DWORD(ReadWord(stream));
    char text[256];
    stream->LoadStringA(text);
    ChangeCaption(text);
    stream->LoadStringA(text);
    ChangeComment(text);
    Id = DWORD(ReadWord(stream));
    Left = DesignLeft;
    Top = DesignTop;
    Right = DesignRight;
    Bottom = DesignBottom;
}

void WView::Save(kvStream* stream)
{
    WriteWord(stream, Type);
    WriteWord(stream, Child && !IsOwnedPart(Child) ? 1 : 0);
    // SaveAll stops at an owned part, so a sibling chain that goes on into one ends here.
    WriteWord(stream, Next && !IsOwnedPart(Next) ? 1 : 0);
    WriteWord(stream, uint32_t(DesignLeft));
    WriteWord(stream, uint32_t(DesignTop));
    WriteWord(stream, uint32_t(DesignRight));
    WriteWord(stream, uint32_t(DesignBottom));
    WriteWord(stream, State);
    WriteWord(stream, Placement);
    stream->SaveString(Caption);
    stream->SaveString(Comment);
    WriteWord(stream, Id);
}

void WView::SaveAll(kvStream* stream)
{
    for (WView* v = this; v && !IsOwnedPart(v); v = v->Next) {
        v->Save(stream);
        if (v->Child)
            v->Child->SaveAll(stream);
    }
}
