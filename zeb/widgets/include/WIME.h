// WIME: the GUI's input method object. The runtime's window procedure hands it the
// window's composition messages; it composes into one input line at a time (the
// receiver), shows the composition in place in that line and the candidates in a list on
// the desktop.
//
// How a composition runs: StartComposition snapshots the receiver's buffer into the
// working copy and the backup. Every composition update restores the working copy from
// the backup, splices the new composition string in at the insertion position and hands
// the result to the line, so the line always shows its own text plus the current
// preview. A result is spliced the same way and becomes the new backup. A cancelled
// composition leaves the line as the backup holds it.
#ifndef ZEB_WIME_H
#define ZEB_WIME_H

#include <kvIME.h>

#include "WInputLine.h"

class WListBox;

// {0FA5C44B-2AD7-444F-A63A-1FE678C3CCA0}
extern const GUID WIME_ID;

#define WIME_COMP_BYTES 256    // composition and result strings read from the input method
#define WIME_ATTR_BYTES 128
#define WIME_CLAUSE_BYTES 512

class WIME : public kvIMEInterface {
public:
    WInputLine* Receiver;      // not owned; null when none
    WListBox* CandidateList;   // owned, reference counted
    int32_t LineLength;        // wide characters in the working copy
    int32_t InsertPos;         // where the composition goes in
    int32_t CompLength;        // bytes of the composition or result string
    int32_t CompCursor;        // cursor within the composition, in wide characters
    int32_t AttrLength;
    BYTE Attributes[WIME_ATTR_BYTES];
    BYTE Clauses[WIME_CLAUSE_BYTES];
    // The line's buffers are as long as the line's: any line takes composition.
    WCHAR WorkCopy[INPUT_LINE_UNITS];
    WCHAR CompString[WIME_COMP_BYTES / 2 + 1];
    WCHAR Backup[INPUT_LINE_UNITS];

    WIME();

    bool Composition(unsigned wParam, LONG lParam) override;
    void StartComposition(unsigned wParam, LONG lParam) override;
    void EndComposition(unsigned wParam, LONG lParam) override;
    void GetCandidate() override;
    void CloseCandidate() override;
    void SetCandidatePos(int x, int y) override;
    void FinishComposition() override;
    ~WIME() override;

    // Composes into line from now on (null: nowhere). A composition shown in the previous
    // receiver is taken out of it first.
    void SetReceiver(WInputLine* line);
    bool IsReceiver(const WInputLine* line) const { return Receiver == line; }
    void ClearBuffer();
    // Splices the composition string into the working copy; answers the wide characters
    // inserted, 0 when the line's byte budget refused it (the composition is cancelled).
    int InsertCompStr();
    // Keeps the candidate list on the screen.
    void AdjustCandidate();

private:
    // Where SetCandidatePos put the list's top-left corner, before AdjustCandidate moved
    // it: every new page is laid out from here, so a list once moved above the line does
    // not stay there when its size changes.
    int32_t candidateX = 0, candidateY = 0;

    void Snapshot(WInputLine* line);
    // Puts the backup back into the receiver and forgets the preview.
    void RestoreReceiver();
};

// The installed input method object when it is the GUI's, else null.
WIME* InstalledWIME();

#endif
