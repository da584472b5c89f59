// The window and class records. Handles count up from a base and are never reused, so a
// handle kept past DestroyWindow is simply unknown rather than naming a newer window.
#include "window_registry.h"

#include "input_hub.h"

#include <strings.h>

#include <map>
#include <memory>

namespace vexa::platform {

namespace {

// Records live behind unique_ptr so a window procedure that creates windows while we
// hold a record does not move it; callers still look a record up again after any call
// into a window procedure, which may have destroyed it.
std::map<uintptr_t, std::unique_ptr<WindowRecord>>& Windows()
{
    static std::map<uintptr_t, std::unique_ptr<WindowRecord>> windows;
    return windows;
}

std::vector<WindowClassRecord>& Classes()
{
    static std::vector<WindowClassRecord> classes;
    return classes;
}

// Even and away from zero, like real handles; 4 apart so no two ever alias.
uintptr_t nextHandle = 0x10010;

} // namespace

void AddClass(const WindowClassRecord& record)
{
    Classes().push_back(record);
}

WindowClassRecord* FindClass(const char* name)
{
    if (!name)
        return nullptr;
    for (WindowClassRecord& c : Classes()) {
        if (strcasecmp(c.name.c_str(), name) == 0)
            return &c;
    }
    return nullptr;
}

bool RemoveClass(const char* name)
{
    auto& classes = Classes();
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        if (name && strcasecmp(it->name.c_str(), name) == 0) {
            classes.erase(it);
            return true;
        }
    }
    return false;
}

WindowRecord* AddWindow(WindowRecord record)
{
    uintptr_t key = nextHandle;
    nextHandle += 4;
    record.handle = reinterpret_cast<HWND>(key);
    auto owned = std::make_unique<WindowRecord>(std::move(record));
    WindowRecord* raw = owned.get();
    Windows()[key] = std::move(owned);
    return raw;
}

WindowRecord* FindWindowRecord(HWND window)
{
    auto& windows = Windows();
    auto it = windows.find(reinterpret_cast<uintptr_t>(window));
    return it == windows.end() ? nullptr : it->second.get();
}

WindowRecord* FindWindowBySdlId(uint32_t sdlId)
{
    if (sdlId == 0)
        return nullptr;
    for (auto& entry : Windows()) {
        if (entry.second->sdlId == sdlId)
            return entry.second.get();
    }
    return nullptr;
}

void RemoveWindow(HWND window)
{
    Windows().erase(reinterpret_cast<uintptr_t>(window));
}

std::vector<HWND> LiveWindows()
{
    std::vector<HWND> handles;
    for (auto& entry : Windows())
        handles.push_back(entry.second->handle);
    return handles;
}

WindowRecord* RequireWindow(HWND window)
{
    WindowRecord* record = FindWindowRecord(window);
    if (!record)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return record;
}

WindowSystemState& SystemState()
{
    static WindowSystemState state;
    return state;
}

LRESULT CallWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowRecord* record = FindWindowRecord(window);
    if (!record || !record->proc)
        return 0;
    return record->proc(window, message, wParam, lParam);
}

void InvalidateWholeClient(WindowRecord& record)
{
    record.updatePending = true;
    record.erasePending = true;
    record.updateRect = RECT{0, 0, record.clientWidth, record.clientHeight};
}

SDL_Window* SdlWindowOf(HWND window)
{
    WindowRecord* record = FindWindowRecord(window);
    return record ? record->sdl : nullptr;
}

HWND WindowOfSdlId(uint32_t sdlWindowId)
{
    WindowRecord* record = FindWindowBySdlId(sdlWindowId);
    return record ? record->handle : nullptr;
}

bool IsApplicationActive()
{
    return SystemState().applicationActive;
}

} // namespace vexa::platform
