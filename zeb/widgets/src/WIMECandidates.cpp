// WIME: construction and the candidate window. The candidate window is a list box, which
// the framework does not have yet: until it does, the object shows no candidates.
#include "WIME.h"

#include <cstring>

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
}

WIME::~WIME() = default;

void WIME::GetCandidate() {}
void WIME::CloseCandidate() {}
void WIME::SetCandidatePos(int, int) {}
void WIME::AdjustCandidate() {}
