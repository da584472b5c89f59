// The IMM32 calls of imm.h over the input method object. Failures answer as IMM32 does:
// FALSE or 0 (null) for an unknown window or context.
#include <imm.h>

#include "input_method.h"

#include <cstring>

using vexa::platform::InputContext;
using vexa::platform::InputMethod;

namespace {

// What ImmGetCompositionStringW copies: the bytes of one kind of composition data.
bool DataBytes(const InputContext& context, DWORD index, std::vector<BYTE>* out)
{
    auto bytesOf = [out](const void* data, size_t size) {
        const BYTE* begin = static_cast<const BYTE*>(data);
        out->assign(begin, begin + size);
    };
    // One clause spanning the whole text, as DWORD offsets: {0, length}.
    auto oneClause = [&](const std::u16string& text) {
        const DWORD offsets[2] = {0, DWORD(text.size())};
        bytesOf(offsets, text.empty() ? 0 : sizeof(offsets));
    };
    switch (index) {
    case GCS_COMPSTR:
        bytesOf(context.composition.data(), context.composition.size() * sizeof(char16_t));
        return true;
    case GCS_COMPATTR:
        bytesOf(context.attributes.data(), context.attributes.size());
        return true;
    case GCS_COMPCLAUSE:
        oneClause(context.composition);
        return true;
    case GCS_RESULTSTR:
        bytesOf(context.result.data(), context.result.size() * sizeof(char16_t));
        return true;
    case GCS_RESULTCLAUSE:
        oneClause(context.result);
        return true;
    default:
        return false;
    }
}

}  // namespace

WINAPI_EXPORT HIMC WINAPI ImmGetContext(HWND hWnd)
{
    return InputMethod::Instance().Attached(hWnd);
}

WINAPI_EXPORT BOOL WINAPI ImmReleaseContext(HWND hWnd, HIMC hIMC)
{
    (void)hWnd;
    return InputMethod::Instance().Find(hIMC) ? TRUE : FALSE;
}

WINAPI_EXPORT HIMC WINAPI ImmAssociateContext(HWND hWnd, HIMC hIMC)
{
    bool failed = false;
    return InputMethod::Instance().Associate(hWnd, hIMC, &failed);
}

WINAPI_EXPORT BOOL WINAPI ImmNotifyIME(HIMC hIMC, DWORD dwAction, DWORD dwIndex, DWORD dwValue)
{
    (void)dwValue;
    InputMethod& method = InputMethod::Instance();
    InputContext* context = method.Find(hIMC);
    if (!context || dwAction != NI_COMPOSITIONSTR)
        return FALSE;
    switch (dwIndex) {
    case CPS_CANCEL:
        method.Cancel(*context);
        return TRUE;
    case CPS_COMPLETE:
        method.Complete(*context);
        return TRUE;
    default:
        return FALSE;
    }
}

WINAPI_EXPORT BOOL WINAPI ImmSetOpenStatus(HIMC hIMC, BOOL fOpen)
{
    InputMethod& method = InputMethod::Instance();
    InputContext* context = method.Find(hIMC);
    if (!context)
        return FALSE;
    method.SetOpen(*context, fOpen != FALSE);
    return TRUE;
}

WINAPI_EXPORT BOOL WINAPI ImmGetOpenStatus(HIMC hIMC)
{
    InputContext* context = InputMethod::Instance().Find(hIMC);
    return context && context->open ? TRUE : FALSE;
}

WINAPI_EXPORT DWORD WINAPI ImmGetProperty(HKL hKL, DWORD fdwIndex)
{
    (void)hKL;
    switch (fdwIndex) {
    case IGP_PROPERTY:
        // The program draws the composition itself, where the caret is.
        return IME_PROP_AT_CARET | IME_PROP_UNICODE;
    case IGP_GETIMEVERSION:
        return 0x00040000;  // IMEVER_0400
    default:
        return 0;
    }
}

WINAPI_EXPORT LONG WINAPI ImmGetCompositionStringW(HIMC hIMC, DWORD dwIndex, LPVOID lpBuf,
                                                   DWORD dwBufLen)
{
    InputContext* context = InputMethod::Instance().Find(hIMC);
    if (!context)
        return IMM_ERROR_GENERAL;
    if (dwIndex == GCS_CURSORPOS)
        return context->cursor;
    std::vector<BYTE> bytes;
    if (!DataBytes(*context, dwIndex, &bytes))
        return IMM_ERROR_NODATA;
    if (dwBufLen == 0 || !lpBuf)
        return LONG(bytes.size());
    const size_t copied = bytes.size() < dwBufLen ? bytes.size() : dwBufLen;
    if (copied > 0)
        std::memcpy(lpBuf, bytes.data(), copied);
    return LONG(copied);
}
