// WIME: receiver, working copy and backup, and the composition messages. The candidate
// list is in WIMECandidates.cpp.
#include "WIME.h"

#include <zebMain.h>

#include <kvApplication.h>
#include <kvInput.h>

#include <imm.h>

#include <cstring>

// {0FA5C44B-2AD7-444F-A63A-1FE678C3CCA0}
const GUID WIME_ID = {0x0FA5C44B, 0x2AD7, 0x444F, {0xA6, 0x3A, 0x1F, 0xE6, 0x78, 0xC3, 0xCC, 0xA0}};

namespace {

int UnitCount(const WCHAR* text, int limit)
{
    int n = 0;
    while (n < limit && text[n])
        ++n;
    return n;
}

int AnsiBytes(const WCHAR* text, int units)
{
    if (units <= 0)
        return 0;
    const int n = WideCharToMultiByte(CP_ACP, 0, text, units, nullptr, 0, nullptr, nullptr);
    return n > 0 ? n : 0;
}

void CopyUnits(WCHAR* out, const WCHAR* in, int size)
{
    const int n = UnitCount(in, size - 1);
    std::memcpy(out, in, sizeof(WCHAR) * size_t(n));
    out[n] = 0;
}

// Clears the input method's composition; it answers with an empty composition update.
void CancelComposition()
{
    if (HIMC context = ImmGetContext(hWnd)) {
        ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
        ImmReleaseContext(hWnd, context);
    }
}

}  // namespace

WIME* InstalledWIME()
{
    return kvimei && kvimei->ClassId == WIME_ID ? static_cast<WIME*>(kvimei) : nullptr;
}

void WIME::Snapshot(WInputLine* line)
{
    InsertPos = line->Cursor;
    CopyUnits(WorkCopy, line->GetBuffer(), INPUT_LINE_UNITS);
    LineLength = UnitCount(WorkCopy, INPUT_LINE_UNITS);
    std::memcpy(Backup, WorkCopy, sizeof Backup);
}

void WIME::RestoreReceiver()
{
    if (!Receiver)
        return;
    Receiver->SetBuffer(Backup);
    Receiver->Cursor = InsertPos <= Receiver->Length() ? InsertPos : Receiver->Length();
    Receiver->ClearComposition();
    Receiver->AdaptCursor();
}

void WIME::SetReceiver(WInputLine* line)
{
    // A preview shown in the old receiver is not its text.
    if (Receiver && Receiver != line && bComposing)
        RestoreReceiver();
    Receiver = line;
    InsertPos = LineLength = CompLength = 0;
    std::memset(WorkCopy, 0, sizeof WorkCopy);
    // A composition already running goes on in the new line, from its own text.
    if (line)
        Snapshot(line);
}

void WIME::ClearBuffer()
{
    std::memset(WorkCopy, 0, sizeof WorkCopy);
    InsertPos = LineLength = 0;
}

int WIME::InsertCompStr()
{
    int inserted = 0;
    if (CompLength > 0 && Receiver) {
        if (LineLength < 0 || LineLength >= INPUT_LINE_UNITS)
            LineLength = UnitCount(WorkCopy, INPUT_LINE_UNITS - 1);
        WorkCopy[LineLength] = 0;
        if (InsertPos > LineLength)
            InsertPos = LineLength;
        const int m = AnsiBytes(WorkCopy, LineLength);
        WCHAR tail[INPUT_LINE_UNITS];
        CopyUnits(tail, WorkCopy + InsertPos, INPUT_LINE_UNITS);
        if (CompLength & 1)
            ++CompLength;
        if (CompLength > WIME_COMP_BYTES)
            CompLength = WIME_COMP_BYTES;
        CompString[CompLength / 2] = 0;
        const int units = UnitCount(CompString, WIME_COMP_BYTES / 2);
        const int c = AnsiBytes(CompString, units);
        if (Receiver->ByteLimit() < m + c || LineLength + units >= INPUT_LINE_UNITS) {
            CancelComposition();
        } else {
            std::memcpy(WorkCopy + InsertPos, CompString, sizeof(WCHAR) * size_t(units));
            CopyUnits(WorkCopy + InsertPos + units, tail, INPUT_LINE_UNITS - InsertPos - units);
            inserted = units;
        }
    }
    VlxMessage repaint = {};
    AddCommand(&repaint, VLX_CMD_REDRAW);
    return inserted;
}

void WIME::StartComposition(unsigned, LONG)
{
    if (!Receiver)
        return;
    // The layout may have changed since the object was made.
    Property = ImmGetProperty(GetKeyboardLayout(0), IGP_PROPERTY);
    Snapshot(Receiver);
}

bool WIME::Composition(unsigned, LONG lParam)
{
    // Without a receiver the text is nobody's here: the window's default processing
    // turns a result into typed bytes.
    if (!Receiver)
        return false;
    HIMC context = ImmGetContext(hWnd);
    if (!context)
        return true;
    if (bComposing)
        std::memcpy(WorkCopy, Backup, sizeof WorkCopy);
    bool handled = true;
    if (lParam & GCS_RESULTSTR) {
        CompLength = ImmGetCompositionStringW(context, GCS_RESULTSTR, CompString, WIME_COMP_BYTES);
        Receiver->ClearComposition();
        if (CompLength > 0) {
            const int n = InsertCompStr();
            Receiver->SetBuffer(WorkCopy);
            InsertPos += n;
            LineLength += n;
            std::memcpy(Backup, WorkCopy, sizeof Backup);
        } else {
            Receiver->SetBuffer(WorkCopy);
        }
        Receiver->Cursor = InsertPos;
    } else if (lParam & GCS_COMPSTR) {
        if (!(Property & IME_PROP_AT_CARET)) {
            ImmReleaseContext(hWnd, context);
            return false;
        }
        CompLength = ImmGetCompositionStringW(context, GCS_COMPSTR, CompString, WIME_COMP_BYTES);
        AttrLength = 0;
        if (lParam & GCS_COMPATTR)
            AttrLength = ImmGetCompositionStringW(context, GCS_COMPATTR, Attributes, sizeof Attributes);
        if (lParam & GCS_CURSORPOS)
            CompCursor = ImmGetCompositionStringW(context, GCS_CURSORPOS, nullptr, 0);
        if (lParam & GCS_COMPCLAUSE)
            ImmGetCompositionStringW(context, GCS_COMPCLAUSE, Clauses, sizeof Clauses);
        const int n = CompLength > 0 ? InsertCompStr() : 0;
        if (CompCursor < 0 || CompCursor > n)
            CompCursor = n;
        int k = 0;
        while (CompCursor + k < AttrLength && CompCursor + k < n &&
               Attributes[CompCursor + k] == ATTR_TARGET_CONVERTED)
            ++k;
        Receiver->SetBuffer(WorkCopy);
        if (n > 0) {
            Receiver->CompStart = InsertPos;
            Receiver->CompEnd = InsertPos + n - 1;
            Receiver->TargetStart = k > 0 ? InsertPos + CompCursor : -1;
            Receiver->TargetEnd = k > 0 ? InsertPos + CompCursor + k - 1 : -1;
        } else {
            Receiver->ClearComposition();
        }
        Receiver->Cursor = InsertPos + CompCursor;
    } else {
        // The composition was dropped: the line shows its text as before.
        CompLength = 0;
        Receiver->SetBuffer(WorkCopy);
        Receiver->Cursor = InsertPos;
        Receiver->ClearComposition();
    }
    Receiver->AdaptCursor();
    SetCandidatePos(Receiver->GetAbsX() + Receiver->Left + Receiver->CursorX + 2,
                    Receiver->GetAbsY() + Receiver->Bottom);
    ImmReleaseContext(hWnd, context);
    return handled;
}

void WIME::EndComposition(unsigned, LONG)
{
    if (!Receiver)
        return;
    CloseCandidate();
    Receiver->ClearComposition();
}

void WIME::FinishComposition()
{
    if (Receiver) {
        CloseCandidate();
        if (bComposing)
            RestoreReceiver();
        Receiver->ClearComposition();
        Receiver = nullptr;
    }
    kvIMEInterface::FinishComposition();
}
