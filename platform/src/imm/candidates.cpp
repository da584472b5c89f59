// The candidate list: what vexa/ime.h sets and ImmGetCandidateListA reads. SDL has no
// candidates to give, so the list exists only while someone has set one.
//
// Layout of the copy, as IMM32 lays it out: the CANDIDATELIST header, dwCount offsets
// (from the start of the copy) and then the NUL-terminated strings in order.
#include <imm.h>
#include <vexa/ime.h>

#include "../win32/code_page.h"
#include "input_method.h"

#include <cstddef>
#include <cstring>

using vexa::platform::InputContext;
using vexa::platform::InputMethod;

namespace {

size_t ListBytes(const InputContext& context)
{
    size_t bytes = offsetof(CANDIDATELIST, dwOffset) + context.candidates.size() * sizeof(DWORD);
    for (const std::string& c : context.candidates)
        bytes += c.size() + 1;
    return bytes;
}

}  // namespace

namespace vexa::platform {

bool SetImeCandidates(void* window, const std::vector<std::string>& utf8Candidates,
                      uint32_t selection, uint32_t pageStart, uint32_t pageSize)
{
    std::vector<std::string> ansi;
    ansi.reserve(utf8Candidates.size());
    for (const std::string& c : utf8Candidates)
        ansi.push_back(Utf8ToAnsi(c));
    return InputMethod::Instance().SetCandidates(static_cast<HWND>(window), std::move(ansi),
                                                 selection, pageStart, pageSize);
}

}  // namespace vexa::platform

WINAPI_EXPORT DWORD WINAPI ImmGetCandidateListA(HIMC hIMC, DWORD deIndex,
                                                LPCANDIDATELIST lpCandList, DWORD dwBufLen)
{
    const InputContext* context = InputMethod::Instance().Find(hIMC);
    if (!context || !context->candidatesOpen || deIndex != 0)
        return 0;
    const size_t bytes = ListBytes(*context);
    if (dwBufLen == 0)
        return DWORD(bytes);
    if (!lpCandList || dwBufLen < bytes)
        return 0;
    BYTE* out = reinterpret_cast<BYTE*>(lpCandList);
    CANDIDATELIST header = {};
    header.dwSize = DWORD(bytes);
    header.dwStyle = IME_CAND_READ;
    header.dwCount = DWORD(context->candidates.size());
    header.dwSelection = context->selection;
    header.dwPageStart = context->pageStart;
    header.dwPageSize = context->pageSize;
    std::memcpy(out, &header, offsetof(CANDIDATELIST, dwOffset));
    size_t at = offsetof(CANDIDATELIST, dwOffset) + context->candidates.size() * sizeof(DWORD);
    for (size_t i = 0; i < context->candidates.size(); ++i) {
        const DWORD offset = DWORD(at);
        std::memcpy(out + offsetof(CANDIDATELIST, dwOffset) + i * sizeof(DWORD), &offset,
                    sizeof offset);
        const std::string& c = context->candidates[i];
        std::memcpy(out + at, c.c_str(), c.size() + 1);
        at += c.size() + 1;
    }
    return DWORD(bytes);
}
