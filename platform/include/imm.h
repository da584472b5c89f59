// imm.h: the input-method (IMM32) calls of the engine, over SDL's text input.
//
// A window starts with an input context attached. While the focused window has one, SDL's
// text input is on: committed text arrives as WM_CHAR bytes in code page 936 and an
// input method's composition as WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION and
// WM_IME_ENDCOMPOSITION. Detaching the context (ImmAssociateContext with null) turns text
// input off; typed characters then come from the keyboard layout alone.
#ifndef VEXA_PLATFORM_IMM_H
#define VEXA_PLATFORM_IMM_H

#include <windows.h>

DECLARE_HANDLE(HIMC);

typedef struct tagCANDIDATELIST {
    DWORD dwSize;
    DWORD dwStyle;
    DWORD dwCount;
    DWORD dwSelection;
    DWORD dwPageStart;
    DWORD dwPageSize;
    DWORD dwOffset[1];
} CANDIDATELIST, *LPCANDIDATELIST;

// CANDIDATELIST dwStyle
#define IME_CAND_UNKNOWN 0x0000
#define IME_CAND_READ 0x0001
#define IME_CAND_CODE 0x0002

// WM_IME_COMPOSITION lParam and ImmGetCompositionString indices
#define GCS_COMPREADSTR 0x0001
#define GCS_COMPREADATTR 0x0002
#define GCS_COMPREADCLAUSE 0x0004
#define GCS_COMPSTR 0x0008
#define GCS_COMPATTR 0x0010
#define GCS_COMPCLAUSE 0x0020
#define GCS_CURSORPOS 0x0080
#define GCS_DELTASTART 0x0100
#define GCS_RESULTREADSTR 0x0200
#define GCS_RESULTREADCLAUSE 0x0400
#define GCS_RESULTSTR 0x0800
#define GCS_RESULTCLAUSE 0x1000

// composition attributes
#define ATTR_INPUT 0x00
#define ATTR_TARGET_CONVERTED 0x01
#define ATTR_CONVERTED 0x02
#define ATTR_TARGET_NOTCONVERTED 0x03
#define ATTR_INPUT_ERROR 0x04

// ImmNotifyIME
#define NI_OPENCANDIDATE 0x0010
#define NI_CLOSECANDIDATE 0x0011
#define NI_SELECTCANDIDATESTR 0x0012
#define NI_CHANGECANDIDATELIST 0x0013
#define NI_COMPOSITIONSTR 0x0015
#define CPS_COMPLETE 0x0001
#define CPS_CONVERT 0x0002
#define CPS_REVERT 0x0003
#define CPS_CANCEL 0x0004

// WM_IME_NOTIFY wParam
#define IMN_CHANGECANDIDATE 0x0003
#define IMN_CLOSECANDIDATE 0x0004
#define IMN_OPENCANDIDATE 0x0005

// ImmGetProperty
#define IGP_GETIMEVERSION ((DWORD)-4)
#define IGP_PROPERTY 0x00000004
#define IGP_CONVERSION 0x00000008
#define IGP_SENTENCE 0x0000000c
#define IGP_UI 0x00000010
#define IGP_SETCOMPSTR 0x00000014
#define IGP_SELECT 0x00000018
#define IME_PROP_AT_CARET 0x00010000
#define IME_PROP_SPECIAL_UI 0x00020000
#define IME_PROP_CANDLIST_START_FROM_1 0x00040000
#define IME_PROP_UNICODE 0x00080000

// ImmGetCompositionString errors
#define IMM_ERROR_NODATA (-1)
#define IMM_ERROR_GENERAL (-2)

WINAPI_EXPORT HIMC WINAPI ImmGetContext(HWND hWnd);
WINAPI_EXPORT BOOL WINAPI ImmReleaseContext(HWND hWnd, HIMC hIMC);
// Attaches hIMC to the window (null detaches) and returns the context it had.
WINAPI_EXPORT HIMC WINAPI ImmAssociateContext(HWND hWnd, HIMC hIMC);
WINAPI_EXPORT BOOL WINAPI ImmNotifyIME(HIMC hIMC, DWORD dwAction, DWORD dwIndex, DWORD dwValue);
WINAPI_EXPORT BOOL WINAPI ImmSetOpenStatus(HIMC hIMC, BOOL fOpen);
WINAPI_EXPORT BOOL WINAPI ImmGetOpenStatus(HIMC hIMC);
WINAPI_EXPORT DWORD WINAPI ImmGetProperty(HKL hKL, DWORD fdwIndex);
WINAPI_EXPORT LONG WINAPI ImmGetCompositionStringW(HIMC hIMC, DWORD dwIndex, LPVOID lpBuf,
                                                   DWORD dwBufLen);
// The context's candidate list in code page 936: with dwBufLen 0 the bytes it needs, else
// those bytes copied, or 0 when they do not fit, when there is no list or for an index
// other than 0.
WINAPI_EXPORT DWORD WINAPI ImmGetCandidateListA(HIMC hIMC, DWORD deIndex,
                                                LPCANDIDATELIST lpCandList, DWORD dwBufLen);

#endif
