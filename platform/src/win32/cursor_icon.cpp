// The cursor (ShowCursor, LoadCursorA, SetCursor, GetCursorPos) and icons (LoadIconA).
//
// Icons are pictures beside the program: resource n is "icon<n>.png" or "icon<n>.bmp"
// in the directory of the executable. Only .bmp loads for now (through SDL_LoadBMP);
// PNG waits for the image layer, so a .png alone gives a null icon like a missing file.
#include "cursor_icon.h"
#include "input_hub.h"
#include "window_registry.h"

#include <SDL.h>

#include <unistd.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

using namespace vexa::platform;

namespace {

struct CursorRecord {
    SDL_SystemCursor shape;
    SDL_Cursor* sdl = nullptr; // made when first set, once video runs
};

struct IconRecord {
    std::string name;
    SDL_Surface* picture = nullptr; // null for the default icon
    ~IconRecord()
    {
        if (picture)
            SDL_FreeSurface(picture);
    }
};

CursorRecord arrowCursor{SDL_SYSTEM_CURSOR_ARROW};
IconRecord defaultIcon;
HCURSOR currentCursor = nullptr;
int cursorCount = 0; // Windows' display counter: shown while >= 0

// Icons live as long as the process, as shared icon resources do on Windows: loading the
// same resource again gives the same handle.
std::vector<std::unique_ptr<IconRecord>>& LoadedIcons()
{
    static std::vector<std::unique_ptr<IconRecord>> icons;
    return icons;
}

std::string ProgramDirectory()
{
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0)
        return "./";
    std::string exe(path, size_t(n));
    return exe.substr(0, exe.rfind('/') + 1);
}

} // namespace

namespace vexa::platform {

SDL_Surface* IconSurface(HICON icon)
{
    for (auto& loaded : LoadedIcons()) {
        if (reinterpret_cast<HICON>(loaded.get()) == icon)
            return loaded->picture;
    }
    return nullptr;
}

void ApplyCursorCount()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

} // namespace vexa::platform

WINAPI_EXPORT int WINAPI ShowCursor(BOOL bShow)
{
    cursorCount += bShow ? 1 : -1;
    ApplyCursorCount();
    return cursorCount;
}

WINAPI_EXPORT HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName)
{
    // Only the system's arrow exists; programs ship no cursor resources.
    if (!hInstance && lpCursorName == IDC_ARROW)
        return reinterpret_cast<HCURSOR>(&arrowCursor);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

WINAPI_EXPORT HCURSOR WINAPI SetCursor(HCURSOR hCursor)
{
    HCURSOR previous = currentCursor;
    currentCursor = hCursor;
    auto* record = reinterpret_cast<CursorRecord*>(hCursor);
    if (record == &arrowCursor && SDL_WasInit(SDL_INIT_VIDEO)) {
        if (!record->sdl)
            record->sdl = SDL_CreateSystemCursor(record->shape);
        if (record->sdl)
            SDL_SetCursor(record->sdl);
    }
    return previous;
}

WINAPI_EXPORT BOOL WINAPI GetCursorPos(LPPOINT lpPoint)
{
    if (!lpPoint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const WindowSystemState& state = SystemState();
    if (WindowRecord* r = FindWindowRecord(state.pointerWindow)) {
        *lpPoint = POINT{r->x + state.pointerPixel.x, r->y + state.pointerPixel.y};
        return TRUE;
    }
    int x = 0;
    int y = 0;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_GetGlobalMouseState(&x, &y);
    *lpPoint = POINT{x, y};
    return TRUE;
}

WINAPI_EXPORT HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName)
{
    if (!hInstance && lpIconName == IDI_APPLICATION)
        return reinterpret_cast<HICON>(&defaultIcon);
    if (!lpIconName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string stem = IS_INTRESOURCE(lpIconName)
                           ? "icon" + std::to_string(reinterpret_cast<uintptr_t>(lpIconName))
                           : std::string(lpIconName);
    for (const auto& loaded : LoadedIcons())
        if (loaded->name == stem)
            return reinterpret_cast<HICON>(loaded.get());
    SDL_Surface* picture = SDL_LoadBMP((ProgramDirectory() + stem + ".bmp").c_str());
    if (!picture) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    auto record = std::make_unique<IconRecord>();
    record->name = stem;
    record->picture = picture;
    HICON handle = reinterpret_cast<HICON>(record.get());
    LoadedIcons().push_back(std::move(record));
    return handle;
}
