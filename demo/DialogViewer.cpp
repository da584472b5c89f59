// VexaDialogViewer: the game's dialogs from "VexaTessel.kvr" in a window of either
// edition's size, over stand-ins for what the game draws around them, so that where they
// sit can be judged by eye:
//
//   VexaDialogViewer main 900 675        the main form on an empty screen
//   VexaDialogViewer round 1024 768      the in-game panel beside the 8 x 8 cells the
//                                        pointer maps and the HUD's two panels
//   VexaDialogViewer background 900 675  the background dialog over a paused round (the
//                                        board is not drawn while paused, the HUD is)
//
// Each dialog is attached with its stored placement, as the game attaches it, and its
// place is traced to "viewer.txt" ("Dialog 32769 at 705 583 890 671."), with the place of
// every button and combo box ("Button 4098 at x y.", its centre on the screen).
#include "DemoWindow.h"

#include <BoardEdition.h>
#include <KvD3D9.h>
#include <KvFontD3D9.h>
#include <KvLib.h>
#include <ResourceIdentity.h>
#include <Zeb.h>
#include <kvFileStream.h>

#include <cstdio>
#include <cstring>

namespace {

struct HudStandIn {
    int width;
    int upper[4], lower[4], picture[4];
};
// The HUD's panels and picture frame of both editions, in window pixels.
const HudStandIn kHud[] = {
    {900, {705, 30, 890, 160}, {705, 330, 890, 580}, {720, 170, 880, 330}},
    {1024, {815, 50, 1000, 180}, {815, 350, 1000, 600}, {830, 190, 990, 350}},
};

char mode[32] = "main";
int width = 900, height = 675;

void AddBox(const int r[4], DWORD colour)
{
    MyDesktop->AddView(new WImageBox(r[0], r[1], r[2] - r[0], r[3] - r[1], nullptr, int(colour), 0),
                       PLACE_NO_ACTIVATE);
}

void TraceButtons(WView* view)
{
    for (WView* v = view->Child; v; v = v->Next) {
        if (v->Type == WTTButton || v->Type == WTTComboBox)
            Trace("%s %u at %d %d.", v->Type == WTTButton ? "Button" : "Combo", unsigned(v->Id),
                  v->GetAbsX() + (v->Left + v->Right) / 2, v->GetAbsY() + (v->Top + v->Bottom) / 2);
        TraceButtons(v);
    }
}

WDialog* Show(kvFileStream* stream, DWORD id)
{
    auto* dialog = new WDialog(stream, id);
    MyDesktop->AddView(dialog, int(dialog->Placement));
    Trace("Dialog %u at %d %d %d %d.", unsigned(id), dialog->Left, dialog->Top, dialog->Right,
          dialog->Bottom);
    TraceButtons(dialog);
    return dialog;
}

class DialogViewer : public kvApplication {
  public:
    void Init() override
    {
        auto* text = new kvCFont(pd3dDevice);
        text->InitFont(16, WTEXT_CENTRE, "", 1, false);
        SetOutText(text);
        InitZeb(0);
        SetDesktop(new WDesktop);
        const int screen[4] = {0, 0, width, height};
        AddBox(screen, 0xFF1E2A36);

        const BoardEdition& board = width == 1024 ? EDITION_FULLSCREEN : EDITION_WINDOWED;
        const HudStandIn& hud = width == 1024 ? kHud[1] : kHud[0];
        const bool round = std::strcmp(mode, "round") == 0;
        if (round)
            for (int row = 0; row < 8; ++row)
                for (int col = 0; col < 8; ++col) {
                    const int x = board.boardLeft + col * board.pitchX;
                    const int y = board.boardTop + row * board.pitchY;
                    const int cell[4] = {x + 3, y + 3, x + board.pitchX - 3, y + board.pitchY - 3};
                    AddBox(cell, (row + col) % 2 ? 0xFF4A6A8A : 0xFF55779A);
                }
        if (round || std::strcmp(mode, "background") == 0) {
            AddBox(hud.upper, 0xFF6A5A3A);
            AddBox(hud.lower, 0xFF6A5A3A);
            AddBox(hud.picture, 0xFF8A7A5A);
        }

        kvFileStream stream(RESOURCE_FILE_NAME, "rb", true, RESOURCE_IDENTITY_TEXT);
        WDialog* screenDialog = new WDialog(&stream, 32771);
        MyDesktop->AddView(screenDialog, int(screenDialog->Placement));
        Trace("Dialog 32771 at %d %d %d %d.", screenDialog->Left, screenDialog->Top,
              screenDialog->Right, screenDialog->Bottom);
        // The game screen draws the board itself; a bare dialog would only draw its frame.
        DELETEVIEW(screenDialog);
        if (std::strcmp(mode, "main") == 0) {
            Show(&stream, 32770);
        } else {
            Show(&stream, 32769);
            if (!round)
                Show(&stream, 32768);
        }
        Trace("Viewer ready.");
    }
    ~DialogViewer() override { FreeZeb(); }
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    std::sscanf(commandLine, "%31s %d %d", mode, &width, &height);
    return RunDemoWindow(
        instance, showCommand, "viewer.txt", [] { return new DialogViewer; }, 0,
        "VexaDialogViewer", "Vexa dialog viewer", width, height);
}
