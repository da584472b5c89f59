// WIME: construction and the candidate window. The candidate window is a pop-up list box
// that WIME owns; while it is shown it is the desktop's child and the desktop holds a
// second reference to it. Whether it is shown is read from the attachment, not from the
// count: event routing holds references of its own for a while.
//
// The list the input method hands over is read defensively: the count is cut to what the
// copied bytes can hold, an offset outside the copy reads as an empty candidate, and every
// string ends inside the buffer because its last byte stays zero.
#include "WIME.h"

#include "WListBox.h"

#include <WDesktop.h>
#include <zebMain.h>
#include <zebText.h>

#include <kvApplication.h>

#include "ViewHandles.h"
#include "zebDraw.h"

#include <imm.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace {

// Bytes read from the input method; one more stays zero behind them.
constexpr size_t kListBytes = 16412;
// Candidate text kept per line, with its number in front.
constexpr size_t kLineBytes = 128;

const char* CandidateText(const BYTE* buffer, size_t limit, DWORD offset)
{
    return offset < limit ? reinterpret_cast<const char*>(buffer + offset) : "";
}

bool Shown(const WListBox* list)
{
    const WView* parent = list->Parent;
    if (!parent || parent == list || !zeb::IsLiveView(parent))
        return false;
    for (const WView* c = parent->Child; c; c = c->Next)
        if (c == list)
            return true;
    return false;
}

// Moves the list to the rectangle. While attached, the client origin moves with it (it
// holds the inset plus Left and Top).
void Place(WListBox* list, int left, int top, int right, int bottom)
{
    if (Shown(list)) {
        list->OriginX += left - list->Left;
        list->OriginY += top - list->Top;
    }
    list->Left = list->DesignLeft = left;
    list->Top = list->DesignTop = top;
    list->Right = list->DesignRight = right;
    list->Bottom = list->DesignBottom = bottom;
}

}  // namespace

WIME::WIME()
    : Receiver(nullptr),
      CandidateList(nullptr),
      LineLength(0),
      InsertPos(0),
      CompLength(0),
      CompCursor(0),
      AttrLength(0),
      Attributes{},
      Clauses{},
      WorkCopy{},
      CompString{},
      Backup{}
{
    ClassId = WIME_ID;
    SetReceiver(nullptr);
    CandidateList = new WListBox(0, 0, 0, 0, 16, 0);
    CandidateList->State |= VS_PRIORITY;
    CandidateList->Selected = -1;
    CandidateList->PopUp = 1;
}

WIME::~WIME()
{
    CloseCandidate();
    CandidateList->DelRef();
    if (CandidateList->GetRef() <= 0)
        delete CandidateList;
    CandidateList = nullptr;
}

void WIME::GetCandidate()
{
    if (!Receiver)
        return;
    HIMC context = ImmGetContext(hWnd);
    if (!context)
        return;
    static BYTE buffer[kListBytes + 1];
    std::memset(buffer, 0, sizeof buffer);
    const DWORD copied =
        ImmGetCandidateListA(context, 0, reinterpret_cast<CANDIDATELIST*>(buffer), kListBytes);
    ImmReleaseContext(hWnd, context);

    CANDIDATELIST header;
    std::memcpy(&header, buffer, sizeof header);
    const size_t limit = std::min<size_t>(kListBytes, copied);
    const size_t offsets = offsetof(CANDIDATELIST, dwOffset);
    const DWORD fits = limit > offsets ? DWORD((limit - offsets) / sizeof(DWORD)) : 0;
    const DWORD count = std::min(header.dwCount, fits);
    const DWORD start = header.dwPageStart;
    const int64_t left = int64_t(count) - int64_t(start);
    const int n = int(std::max<int64_t>(0, std::min<int64_t>({int64_t(header.dwPageSize), left,
                                                               CandidateList->Strings->capacity})));

    WListBox* list = CandidateList;
    list->ClearAll();
    WText& writer = zeb::Writer();
    int widest = 0;
    for (int i = 0; i < n; ++i) {
        DWORD offset;
        std::memcpy(&offset, buffer + offsets + (start + DWORD(i)) * sizeof(DWORD), sizeof offset);
        char text[kLineBytes];
        zeb::CopyText(text, sizeof text - 4, CandidateText(buffer, limit, offset));
        char line[kLineBytes + 16];
        std::snprintf(line, sizeof line, "%d %s", i + 1, text);
        list->AddString(WSL_APPEND, line);
        widest = std::max(widest, writer.GetWidth(line));
    }
    const int64_t selected = int64_t(header.dwSelection) - int64_t(start);
    list->Selected = selected >= 0 && selected < n ? int(selected) : -1;
    const int width = std::max(widest, 100) + 4;
    const int height = n * (writer.GetHeight("T") + 1) + 4;
    Place(list, candidateX, candidateY, candidateX + width, candidateY + height);
    list->AfterTranslate();
    AdjustCandidate();
    if (!Shown(list) && MyDesktop) {
        list->AddRef();
        MyDesktop->AddView(list, PLACE_NO_ACTIVATE);
    }
    // A page that starts past the last candidate has nothing to show. (A last page that is
    // only partly filled is shown: it holds the candidates the user has paged to.)
    if (n <= 0)
        CloseCandidate();
}

void WIME::CloseCandidate()
{
    WListBox* list = CandidateList;
    if (!Shown(list))
        return;
    list->Parent->DeleteView(list);
    list->DelRef();
}

void WIME::SetCandidatePos(int x, int y)
{
    WListBox* list = CandidateList;
    candidateX = x;
    candidateY = y;
    Place(list, x, y, x + (list->Right - list->Left), y + (list->Bottom - list->Top));
    // A list already up follows the caret without leaving the screen.
    if (Shown(list))
        AdjustCandidate();
}

void WIME::AdjustCandidate()
{
    WListBox* list = CandidateList;
    const int width = list->Right - list->Left;
    const int height = list->Bottom - list->Top;
    int left = list->Left, top = list->Top;
    if (list->Bottom > ScreenY) {
        const int bottom = top - zeb::Writer().GetHeight("T") - 4;
        top = bottom - height;
    }
    if (list->Right >= ScreenX)
        left = ScreenX - 1 - width;
    // A negative edge would count from the desktop's far side when the list is attached.
    left = std::max(left, 0);
    top = std::max(top, 0);
    Place(list, left, top, left + width, top + height);
}
