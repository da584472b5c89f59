// RunMain, RunModal, the paint callback and the command helpers.
#include "zebMain.h"

#include "ViewHandles.h"
#include "WDesktop.h"
#include "zebDraw.h"

#include <kvApplication.h>
#include <kvException.h>
#include <kvInput.h>
#include <kvResource.h>

namespace {
// The view of the innermost running modal loop, by handle, so a view destroyed while it
// runs leaves nothing dangling for the paint callback.
DWORD modalView = 0;

bool WantsFrame(const VlxMessage& event)
{
    return event.type != VLX_EMPTY || bMouseMoved || !bNoRealTime;
}

// Draws a frame when Windows asks for a repaint, e.g. while the window is being moved.
void PaintFrame()
{
    if (!MyDesktop)
        return;
    kvlib::FrameScope frame;
    WView* modal = ViewFromHandle(modalView);
    if (modal && (modal->State & VS_EXCLUSIVE)) {
        zeb::Graph().BeginScene();
        modal->Draw();
    } else {
        MyDesktop->Draw();
    }
    MyDesktop->Refresh();
}

void RunMainLoop()
{
    MSG msg = {};
    for (;;) {
        const bool taken = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        if (taken || bExit) {
            if (bExit || msg.message == WM_QUIT)
                return;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        if (!bActive) {
            // In the background nothing is drawn: wait for the next message (activation,
            // paint, close) instead of polling, which spun a core in a full-screen program.
            WaitMessage();
            continue;
        }
        bool end = false;
        {
            kvlib::FrameScope frame;
            UpdateTimeCounter();
            GetEvent();
            VlxMessage event;
            LoadEvent(&event);
            if (bNoRealTime && event.type == VLX_EMPTY) {
                if (bSkinnedApp)
                    Sleep(1);
                continue;
            }
            if (!MyDesktop)
                NewException("No desktop is installed.", KVEXCEPTION_GENERAL);
            MyDesktop->HandleEvent(&event);
            if (WantsFrame(event)) {
                MyDesktop->Draw();
                MyDesktop->Refresh();
            }
            end = MyDesktop->EndModal(&event);
        }
        // A release that waited for the frame may have taken the desktop with it.
        if (end || !MyDesktop)
            return;
    }
}

// One modal loop; returns the accepted event's command, or 5 when an exit ends it.
DWORD RunModalLoop(WView* view)
{
    MSG msg = {};
    for (;;) {
        const bool waiting = PeekMessageA(&msg, hWnd, 0, 0, PM_NOREMOVE);
        if (waiting || bExit) {
            if (waiting && msg.message == WM_QUIT) {
                if (!bExit)
                    PushExitEvent();
                return VLX_CMD_EXIT;
            }
            if (bExit)
                return VLX_CMD_EXIT;
            PeekMessageA(&msg, hWnd, 0, 0, PM_REMOVE);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        if (!bActive) {
            WaitMessage();
            continue;
        }
        kvlib::FrameScope frame;
        UpdateTimeCounter();
        GetEvent();
        VlxMessage event;
        LoadEvent(&event);
        if (bSkinnedApp && event.type == VLX_EMPTY) {
            Sleep(1);
            continue;
        }
        view->HandleEvent(&event);
        if (WantsFrame(event) && MyDesktop) {
            if (view->State & VS_EXCLUSIVE) {
                zeb::Graph().BeginScene();
                view->Draw();
            } else {
                MyDesktop->Draw();
            }
            MyDesktop->Refresh();
        }
        if (view->EndModal(&event))
            return DWORD(event.x);
    }
}
}  // namespace

void RunMain()
{
    try {
        kvInitObjects();
        AppPaint = PaintFrame;
        bQuit = true;
        bZebHandle = true;
        RunMainLoop();
        kvReleaseObjects();
    } catch (kvException* e) {
        CatchException(e);
    }
}

DWORD RunModal(WView* view, int placement, bool)
{
    if (!view || !MyDesktop)
        return 0;
    // The loop holds the view, so a release of the desktop meanwhile cannot free it under
    // the loop; the caller's reference is given back as it was.
    view->AddRef();
    MyDesktop->AddView(view, placement);
    MyDesktop->SetActive(view);
    // A nested loop gives the desktop back its marking as it found it, so the outer
    // dialog keeps its comments to itself and the main screen gets its own back after.
    const DWORD desktopModal = MyDesktop->Modal & VIEW_MODAL;
    MyDesktop->Modal |= VIEW_MODAL;
    view->SetModal(1);
    const DWORD savedModal = modalView;
    modalView = view->Handle;
    InvalidateView();
    DWORD result = VLX_CMD_EXIT;
    try {
        result = RunModalLoop(view);
    } catch (kvException* e) {
        CatchException(e);
    }
    modalView = savedModal;
    if (!bExit && MyDesktop) {
        view->SetModal(0);
        MyDesktop->Modal = (MyDesktop->Modal & ~DWORD(VIEW_MODAL)) | desktopModal;
        MyDesktop->DeleteView(view);
        if (WView* last = MyDesktop->Child) {
            while (last->Next)
                last = last->Next;
            MyDesktop->SetActive(last);
        }
    }
    view->DelRef();
    return result;
}

void AddCommand(VlxMessage* event, int code)
{
    event->type = VLX_COMMAND;
    event->x = code;
    AddEvent(event);
    if (code == VLX_CMD_EXIT)
        bExit = true;
}

bool WaitForIdle()
{
    for (int i = 0; i < 4; ++i)
        if (MyMouse.rgbButtons[i] & 0x80)
            return false;
    return true;
}
