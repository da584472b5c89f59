// The thread message queue: PostMessageA, SendMessageA, PostQuitMessage, PeekMessageA,
// GetMessageA, WaitMessage and DispatchMessageA.
//
// Retrieval order is Windows': posted and input messages in arrival order (one FIFO),
// then WM_QUIT once the quit flag is set and nothing posted is left, then WM_PAINT for a
// window with a non-empty update region. WM_PAINT is never queued; it is made when asked
// for and stays available until the window is validated. A window that is handed a
// WM_PAINT and does not validate gets the next one only a display refresh later, so a
// program that ignores painting does not spin on it.
#include "message_queue.h"
#include "event_pump.h"
#include "input_hub.h"
#include "window_registry.h"

#include <SDL.h>

#include <algorithm>
#include <deque>

using namespace vexa::platform;

namespace {

struct QueueState {
    std::deque<MSG> posted;
    bool quitPending = false;
    int quitCode = 0;
    DWORD lastMessageTime = 0;
};

QueueState& Queue()
{
    static QueueState queue;
    return queue;
}

HWND const kThreadOnly = reinterpret_cast<HWND>(-1);

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    GetCursorPos(&msg.pt);
    return msg;
}

bool MatchesWindow(HWND message, HWND filter)
{
    if (!filter)
        return true;
    if (filter == kThreadOnly)
        return message == nullptr;
    return message == filter;
}

bool MatchesRange(UINT message, UINT low, UINT high)
{
    return (low == 0 && high == 0) || (message >= low && message <= high);
}

// A minimised window has no client area to paint, as on Windows.
bool Paintable(const WindowRecord& r)
{
    return r.updatePending && r.visible && !r.minimised;
}

// Milliseconds until a paced WM_PAINT is due again; -1 when none waits on pacing.
int PaintDeadline(HWND filter)
{
    int best = -1;
    uint32_t now = GetTickCount();
    for (HWND w : LiveWindows()) {
        WindowRecord* r = FindWindowRecord(w);
        if (!Paintable(*r) || !r->paintUnanswered || !MatchesWindow(w, filter))
            continue;
        int left = int(PaintInterval()) - int(now - r->lastPaintTick);
        left = std::max(left, 0);
        best = best < 0 ? left : std::min(best, left);
    }
    return best;
}

bool TakePaint(MSG* msg, HWND filter, bool remove)
{
    uint32_t now = GetTickCount();
    for (HWND w : LiveWindows()) {
        WindowRecord* r = FindWindowRecord(w);
        if (!Paintable(*r) || !MatchesWindow(w, filter))
            continue;
        if (r->paintUnanswered && now - r->lastPaintTick < PaintInterval())
            continue;
        *msg = MakeMessage(w, WM_PAINT, 0, 0);
        if (remove) {
            r->paintUnanswered = true;
            r->lastPaintTick = now;
        }
        return true;
    }
    return false;
}

bool Retrieve(MSG* msg, HWND filter, UINT low, UINT high, bool remove)
{
    QueueState& q = Queue();
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (MatchesWindow(it->hwnd, filter) && MatchesRange(it->message, low, high)) {
            *msg = *it;
            if (remove)
                q.posted.erase(it);
            return true;
        }
    }
    // WM_QUIT is a thread message but reaches a window-filtered loop too.
    if (q.quitPending && MatchesRange(WM_QUIT, low, high)) {
        *msg = MakeMessage(nullptr, WM_QUIT, WPARAM(q.quitCode), 0);
        if (remove)
            q.quitPending = false;
        return true;
    }
    if (MatchesRange(WM_PAINT, low, high))
        return TakePaint(msg, filter, remove);
    return false;
}

bool FilterIsValid(HWND filter)
{
    if (filter && filter != kThreadOnly && !FindWindowRecord(filter)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    return true;
}

// Blocks until a message passing the filters is available, then retrieves it.
void WaitAndRetrieve(MSG* msg, HWND filter, UINT low, UINT high, bool remove)
{
    for (;;) {
        PumpEvents();
        if (Retrieve(msg, filter, low, high, remove))
            return;
        int paint = PaintDeadline(filter);
        int timer = MillisecondsToPumpTimer();
        int timeout = paint < 0 ? timer : (timer < 0 ? paint : std::min(paint, timer));
        WaitForEvent(timeout);
    }
}

} // namespace

namespace vexa::platform {

void PostMessageFirst(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Queue().posted.push_front(MakeMessage(window, message, wParam, lParam));
}

void PurgeMessagesFor(HWND window)
{
    auto& posted = Queue().posted;
    posted.erase(std::remove_if(posted.begin(), posted.end(),
                                [window](const MSG& m) { return m.hwnd == window; }),
                 posted.end());
}

uint32_t PaintInterval()
{
    static uint32_t interval = 0;
    if (interval == 0 && SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_DisplayMode mode;
        int hz = SDL_GetCurrentDisplayMode(0, &mode) == 0 ? mode.refresh_rate : 0;
        interval = uint32_t(1000 / (hz > 0 ? hz : 60));
    }
    return interval ? interval : 1000 / 60;
}

} // namespace vexa::platform

WINAPI_EXPORT BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (hWnd && !RequireWindow(hWnd))
        return FALSE;
    Queue().posted.push_back(MakeMessage(hWnd, Msg, wParam, lParam));
    return TRUE;
}

WINAPI_EXPORT LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (!RequireWindow(hWnd))
        return 0;
    return CallWindowProcedure(hWnd, Msg, wParam, lParam);
}

WINAPI_EXPORT void WINAPI PostQuitMessage(int nExitCode)
{
    Queue().quitPending = true;
    Queue().quitCode = nExitCode;
}

WINAPI_EXPORT BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin,
                                       UINT wMsgFilterMax, UINT wRemoveMsg)
{
    PumpEvents();
    if (!lpMsg || !FilterIsValid(hWnd))
        return FALSE;
    if (!Retrieve(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0))
        return FALSE;
    Queue().lastMessageTime = lpMsg->time;
    return TRUE;
}

WINAPI_EXPORT BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin,
                                      UINT wMsgFilterMax)
{
    if (!lpMsg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (!FilterIsValid(hWnd))
        return -1;
    WaitAndRetrieve(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true);
    Queue().lastMessageTime = lpMsg->time;
    return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

WINAPI_EXPORT BOOL WINAPI WaitMessage(void)
{
    MSG peeked;
    WaitAndRetrieve(&peeked, nullptr, 0, 0, false);
    return TRUE;
}

WINAPI_EXPORT DWORD WINAPI GetMessageTime(void)
{
    return Queue().lastMessageTime;
}

WINAPI_EXPORT LRESULT WINAPI DispatchMessageA(const MSG* lpMsg)
{
    if (!lpMsg || !lpMsg->hwnd)
        return 0;
    return CallWindowProcedure(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}
