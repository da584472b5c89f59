// vexa/ime.h: the candidate list of the platform's input method. SDL hands over the
// composition and the result but never the candidates an input method shows, so the list
// that ImmGetCandidateListA reads comes from here: a test (or a program that knows its
// candidates some other way) sets it, and the window is told as Windows tells it.
#ifndef VEXA_PLATFORM_IME_H
#define VEXA_PLATFORM_IME_H

#include <stdint.h>

#include <string>
#include <vector>

namespace vexa::platform {

// Gives the input context attached to window (an HWND) the candidates, in UTF-8, with the
// selected one and the page shown. The window then receives WM_IME_NOTIFY with
// IMN_OPENCANDIDATE when the context had no list, IMN_CHANGECANDIDATE when it had one,
// and IMN_CLOSECANDIDATE for an empty list. The list also closes, with the same notice,
// when the composition ends. False when the window has no context attached.
bool SetImeCandidates(void* window, const std::vector<std::string>& utf8Candidates,
                      uint32_t selection, uint32_t pageStart, uint32_t pageSize);

}  // namespace vexa::platform

#endif
