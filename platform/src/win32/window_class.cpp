// RegisterClassExA and UnregisterClassA: window classes are a name, a window procedure,
// a class style and the icon and cursor of their windows.
#include "input_hub.h"
#include "window_registry.h"

using namespace vexa::platform;

namespace {
// Atoms of registered classes live in 0xC000..0xFFFF on Windows.
ATOM nextAtom = 0xC000;
} // namespace

WINAPI_EXPORT ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpwcx)
{
    if (!lpwcx || lpwcx->cbSize != sizeof(WNDCLASSEXA) || !lpwcx->lpszClassName ||
        IS_INTRESOURCE(lpwcx->lpszClassName) || !lpwcx->lpfnWndProc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    EnsureVideo();
    if (FindClass(lpwcx->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WindowClassRecord record;
    record.name = lpwcx->lpszClassName;
    record.style = lpwcx->style;
    record.proc = lpwcx->lpfnWndProc;
    record.instance = lpwcx->hInstance;
    record.icon = lpwcx->hIcon ? lpwcx->hIcon : lpwcx->hIconSm;
    record.cursor = lpwcx->hCursor;
    AddClass(record);
    ATOM atom = nextAtom;
    nextAtom = nextAtom == 0xFFFF ? ATOM(0xC000) : ATOM(nextAtom + 1);
    return atom;
}

WINAPI_EXPORT BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE)
{
    WindowClassRecord* cls =
        lpClassName && !IS_INTRESOURCE(lpClassName) ? FindClass(lpClassName) : nullptr;
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    for (HWND w : LiveWindows()) {
        if (FindWindowRecord(w)->className == cls->name) {
            SetLastError(ERROR_CLASS_HAS_WINDOWS);
            return FALSE;
        }
    }
    RemoveClass(lpClassName);
    return TRUE;
}
