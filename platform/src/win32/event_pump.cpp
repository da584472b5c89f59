// PumpEvents: drains SDL's queue and turns window events into Windows' messages (input
// events go to input_events.cpp). Also the timer that ends a user's move or resize.
//
// SDL reports a programmatic change (SetWindowPos, ShowWindow) with the same events as a
// user's, a little later. Every size and position event is compared with the window's
// record, which the programmatic calls update first, so only real changes make messages.
// A user's move or resize has no end event in SDL: it is taken as over once no size or
// move event has come for kSizeMoveSettleMs.
#include "event_pump.h"
#include "activation.h"
#include "input_events.h"
#include "window_registry.h"

#include <SDL.h>

#include <algorithm>

namespace vexa::platform {

namespace {

constexpr uint32_t kSizeMoveSettleMs = 100;
// SDL reports a maximise or restore first and the new size after it; a size or position
// change this soon after one belongs to it, not to a drag.
constexpr uint32_t kStateChangeMs = 250;

bool FollowsStateChange(const WindowRecord& r)
{
    return r.lastStateChangeTick != 0 && GetTickCount() - r.lastStateChangeTick < kStateChangeMs;
}

void NoteSizeMove(WindowRecord& r)
{
    if (!r.inSizeMove) {
        r.inSizeMove = true;
        PostMessageA(r.handle, WM_ENTERSIZEMOVE, 0, 0);
    }
    r.lastSizeMoveTick = GetTickCount();
}

void PostSize(WindowRecord& r, WPARAM kind)
{
    PostMessageA(r.handle, WM_SIZE, kind, MAKELPARAM(r.clientWidth, r.clientHeight));
}

void ReadSdlSize(WindowRecord& r)
{
    SDL_GetWindowSize(r.sdl, &r.pixelWidth, &r.pixelHeight);
    RefreshClientSize(r);
    InvalidateWholeClient(r);
}

void TranslateWindowEvent(const SDL_WindowEvent& e)
{
    WindowRecord* r = FindWindowBySdlId(e.windowID);
    if (!r)
        return;
    HWND window = r->handle;
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE:
        PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        ActivateWindow(window, Delivery::Post);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (SystemState().active == window || SystemState().focus == window)
            DeactivateApplication(Delivery::Post);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (e.data1 == r->pixelWidth && e.data2 == r->pixelHeight)
            break;
        r->pixelWidth = e.data1;
        r->pixelHeight = e.data2;
        RefreshClientSize(*r);
        InvalidateWholeClient(*r);
        // A full-screen window changes size only with the display, not by the user.
        if (!IsFullScreenStyle(r->style) && !FollowsStateChange(*r))
            NoteSizeMove(*r);
        PostSize(*r, r->maximised ? SIZE_MAXIMIZED : SIZE_RESTORED);
        break;
    case SDL_WINDOWEVENT_MOVED:
        if (e.data1 == r->x && e.data2 == r->y)
            break;
        r->x = e.data1;
        r->y = e.data2;
        if (!IsFullScreenStyle(r->style) && !FollowsStateChange(*r))
            NoteSizeMove(*r);
        PostMessageA(window, WM_MOVE, 0, MAKELPARAM(r->x, r->y));
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        r->lastStateChangeTick = GetTickCount();
        if (!r->minimised) {
            r->minimised = true;
            PostMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);
        }
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        r->lastStateChangeTick = GetTickCount();
        if (!r->maximised) {
            r->maximised = true;
            r->minimised = false;
            ReadSdlSize(*r);
            PostSize(*r, SIZE_MAXIMIZED);
        }
        break;
    case SDL_WINDOWEVENT_RESTORED:
        r->lastStateChangeTick = GetTickCount();
        if (r->minimised || r->maximised) {
            r->minimised = false;
            r->maximised = false;
            ReadSdlSize(*r);
            PostSize(*r, SIZE_RESTORED);
        }
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        InvalidateWholeClient(*r);
        break;
    default:
        break;
    }
}

void HandleEvent(const SDL_Event& event)
{
    if (event.type == SDL_WINDOWEVENT)
        TranslateWindowEvent(event.window);
    else if (event.type == SDL_QUIT)
        // A termination request from outside (SIGTERM, SIGINT) ends the program the way
        // the end of a Windows session does: its message loop sees WM_QUIT and shuts down.
        // Closing a window arrives as WM_CLOSE instead and stays the program's to answer.
        PostQuitMessage(0);
    else
        TranslateInputEvent(event);
}

void EndSettledSizeMoves()
{
    uint32_t now = GetTickCount();
    for (HWND w : LiveWindows()) {
        WindowRecord* r = FindWindowRecord(w);
        if (r && r->inSizeMove && now - r->lastSizeMoveTick >= kSizeMoveSettleMs) {
            r->inSizeMove = false;
            PostMessageA(w, WM_EXITSIZEMOVE, 0, 0);
        }
    }
}

} // namespace

void PumpEvents()
{
    if (SDL_WasInit(SDL_INIT_EVENTS)) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            HandleEvent(event);
    }
    EndSettledSizeMoves();
}

int MillisecondsToPumpTimer()
{
    int best = -1;
    uint32_t now = GetTickCount();
    for (HWND w : LiveWindows()) {
        WindowRecord* r = FindWindowRecord(w);
        if (!r || !r->inSizeMove)
            continue;
        int left = std::max(0, int(kSizeMoveSettleMs) - int(now - r->lastSizeMoveTick));
        best = best < 0 ? left : std::min(best, left);
    }
    return best;
}

void WaitForEvent(int timeoutMs)
{
    // Without SDL's event system nothing can arrive; sleep instead of spinning.
    if (!SDL_WasInit(SDL_INIT_EVENTS)) {
        SDL_Delay(Uint32(timeoutMs < 0 ? 50 : timeoutMs));
        return;
    }
    SDL_Event event;
    // Unlimited waits wake now and then, so a missed wake-up cannot hang the program.
    if (SDL_WaitEventTimeout(&event, timeoutMs < 0 ? 500 : timeoutMs))
        HandleEvent(event);
}

} // namespace vexa::platform
