// What DefWindowProcA does with the input method's messages: a window that ignores
// composition still receives the committed text, as WM_CHAR bytes in code page 936.
#include "input_method.h"

#include "../win32/code_page.h"

namespace vexa::platform {

LRESULT ImeDefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled)
{
    *handled = false;
    switch (message) {
    case WM_IME_COMPOSITION: {
        if (!(lParam & GCS_RESULTSTR))
            return 0;
        *handled = true;
        const InputContext* context = InputMethod::Instance().Find(ImmGetContext(window));
        if (context)
            PostTextAsChars(window, Utf16ToUtf8(context->result));
        return 0;
    }
    case WM_IME_CHAR:
        // An ANSI window's WM_IME_CHAR carries a double-byte character lead byte high.
        *handled = true;
        if (wParam > 0xFF)
            PostMessageA(window, WM_CHAR, (wParam >> 8) & 0xFF, lParam);
        PostMessageA(window, WM_CHAR, wParam & 0xFF, lParam);
        return 0;
    default:
        return 0;
    }
}

}  // namespace vexa::platform
