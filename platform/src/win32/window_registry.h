// Internal: the records behind window handles and window classes, and the window
// system's shared state (focus, activation, the pointer). Every window function looks its
// handle up here; a handle that is not here is stale or was never a window.
#ifndef VEXA_PLATFORM_WINDOW_REGISTRY_H
#define VEXA_PLATFORM_WINDOW_REGISTRY_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct SDL_Window;
struct SDL_Surface;

namespace vexa::platform {

struct WindowClassRecord {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
};

struct WindowRecord {
    HWND handle = nullptr;
    SDL_Window* sdl = nullptr;
    uint32_t sdlId = 0;
    std::string className;
    UINT classStyle = 0;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string caption; // code page 936, as the program set it
    // Client area in client pixels; for full-screen windows the back buffer's size.
    int clientWidth = 0;
    int clientHeight = 0;
    // The SDL window's own size (its pixels as SDL's events count them) and position.
    int pixelWidth = 0;
    int pixelHeight = 0;
    int x = 0;
    int y = 0;
    int backWidth = 0; // 0 until the Direct3D device sets one
    int backHeight = 0;
    bool updatePending = false;
    RECT updateRect{};
    bool erasePending = false;
    // Set when a WM_PAINT was handed out and the window has not been validated since.
    bool paintUnanswered = false;
    uint32_t lastPaintTick = 0;
    bool visible = false;
    bool minimised = false;
    bool maximised = false;
    bool shownBefore = false;
    bool destroying = false;
    bool inSizeMove = false;
    uint32_t lastSizeMoveTick = 0;
    uint32_t lastStateChangeTick = 0; // last minimise, maximise or restore seen from SDL
};

// Pre: the class name is not registered yet (case-insensitively).
void AddClass(const WindowClassRecord& record);
WindowClassRecord* FindClass(const char* name);
bool RemoveClass(const char* name);

// Gives the record a fresh handle, never handed out before in this process.
WindowRecord* AddWindow(WindowRecord record);
WindowRecord* FindWindowRecord(HWND window);
WindowRecord* FindWindowBySdlId(uint32_t sdlId);
void RemoveWindow(HWND window);
// Handles of the live windows, oldest first.
std::vector<HWND> LiveWindows();
// Looks a handle up and sets ERROR_INVALID_WINDOW_HANDLE when it is unknown.
WindowRecord* RequireWindow(HWND window);

// Focus and activation as the program sees them through GetFocus and GetActiveWindow.
struct WindowSystemState {
    HWND focus = nullptr;
    HWND active = nullptr;
    bool applicationActive = false;
    HWND pointerWindow = nullptr;
    POINT pointer{};      // client pixels of pointerWindow
    POINT pointerPixel{}; // SDL window pixels of pointerWindow
    unsigned mouseButtons = 0;
};
WindowSystemState& SystemState();

// Client size of a window's client area (the back buffer's size for a full-screen one).
void RefreshClientSize(WindowRecord& record);
bool IsFullScreenStyle(DWORD style);
// The frame that AdjustWindowRectEx adds to a client rectangle, per side.
RECT FrameOfStyle(DWORD style, DWORD exStyle);
// Calls the window procedure; 0 for an unknown handle.
LRESULT CallWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void InvalidateWholeClient(WindowRecord& record);

} // namespace vexa::platform

#endif
