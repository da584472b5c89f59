// MessageBoxA over SDL_ShowMessageBox. Text and caption are code page 936 and are shown
// as UTF-8. Where no display can show a box (the offscreen and dummy drivers, or no
// display at all) the caption and text go to stderr and the first button is the answer,
// so a program that reports an error on its way out still ends rather than waits.
#include "code_page.h"
#include "input_hub.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace vexa::platform;

namespace {

struct Button {
    int id;
    const char* text;
};

std::vector<Button> ButtonsOfType(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, "Abort"}, {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}};
    case MB_YESNOCANCEL:
        return {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO:
        return {{IDYES, "Yes"}, {IDNO, "No"}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}};
    default:
        return {{IDOK, "OK"}};
    }
}

Uint32 SdlIconFlag(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return SDL_MESSAGEBOX_ERROR;
    case MB_ICONEXCLAMATION:
        return SDL_MESSAGEBOX_WARNING;
    default:
        return SDL_MESSAGEBOX_INFORMATION;
    }
}

// The headless drivers have no screen, but SDL would still try an X display for a box.
bool DisplayCanShowBox()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

} // namespace

WINAPI_EXPORT int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    std::string text = AnsiToUtf8(lpText ? lpText : "");
    std::string caption = AnsiToUtf8(lpCaption ? lpCaption : "Error");
    std::vector<Button> buttons = ButtonsOfType(uType);
    if (DisplayCanShowBox()) {
        std::vector<SDL_MessageBoxButtonData> data;
        for (size_t i = 0; i < buttons.size(); ++i) {
            Uint32 flags = i == 0 ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0;
            if (buttons[i].id == IDCANCEL || (buttons.size() == 1))
                flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
            data.push_back(SDL_MessageBoxButtonData{flags, buttons[i].id, buttons[i].text});
        }
        SDL_MessageBoxData box{};
        box.flags = SdlIconFlag(uType);
        box.window = SdlWindowOf(hWnd);
        box.title = caption.c_str();
        box.message = text.c_str();
        box.numbuttons = int(data.size());
        box.buttons = data.data();
        int answer = 0;
        if (SDL_ShowMessageBox(&box, &answer) == 0 && answer > 0)
            return answer;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return buttons.front().id;
}
