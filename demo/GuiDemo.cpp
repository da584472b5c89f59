// ZebGuiDemo: the GUI framework on the Direct3D backend in a real window, with the game's
// three fonts. Above, Chinese and Latin text in the sizes the game uses (12 with shadow,
// 16, 32 with shadow). Below, a dialog with a caption bar holds a group of colour swatches
// that shows a comment when the pointer rests on it, a status field placed from the
// bottom edge, and a picture field that changes colour when clicked. Closing the window
// ends the program through RunMain.
#include "DemoWindow.h"

#include <KvD3D9.h>
#include <KvFontD3D9.h>
#include <KvLib.h>
#include <Zeb.h>

namespace {
const int kSwatchColours[] = {int(0xFFD04030), int(0xFFE0B030), int(0xFF40A0D0)};

// Cycles the picture's colour on each click report it posts.
class DemoDialog : public WDialog {
public:
    DemoDialog() : WDialog(0, 60, 420, 300, "连连看 Zeb", 100)
    {
        auto* swatches = new WGroup(10, 14, 200, 110, "色板 Swatches", 101);
        swatches->ChangeComment("三种颜色 Three colours");
        for (int i = 0; i < 3; ++i)
            swatches->AddView(new WImageBox(15 + i * 60, 20, 50, 70, nullptr, kSwatchColours[i],
                                            DWORD(110 + i)),
                              PLACE_NO_ACTIVATE);
        AddView(swatches, PLACE_NO_ACTIVATE);
        picture = new WImageBox(-190, 14, 170, 110, nullptr, kSwatchColours[0], 102);
        AddView(picture, PLACE_NO_ACTIVATE);
        AddView(new WStatusBox(10, -40, -11, 28, "就绪 Ready", 103), PLACE_NO_ACTIVATE);
    }

    void HandleEvent(VlxMessage* event) override
    {
        WDialog::HandleEvent(event);
        if (event->type == VLX_COMMAND && event->x == VLX_CMD_IMAGE_CLICKED &&
            GetEventSource(event) == picture) {
            next = (next + 1) % 3;
            picture->SetColor(kSwatchColours[next]);
            Trace("Picture colour is now %08X.", unsigned(kSwatchColours[next]));
            ClearEvent(event);
        }
    }

private:
    WImageBox* picture;
    int next = 0;
};

// Draws the tree, then sample lines in the small and the large font above it.
class DemoDesktop : public WDesktop {
public:
    DemoDesktop(kvCFont* smallFont, kvCFont* largeFont) : small(smallFont), large(largeFont) {}
    void Draw() override
    {
        pbg->ClearScreen(0);
        pbg->BeginScene();
        WView::Draw();
        large->DrawTextExA(20, 12, 0xFFFFE080, "连连看 VexaTessel 1024", 1.0f);
        OutText->flags = WTEXT_LEFT;
        OutText->colour = 0xFFFFFFFF;
        OutText->DrawTextA(20, 56, "简单 普通 困难 极难: Easy, Normal, Hard, Extreme");
        small->DrawTextExA(20, 84, 0xFFB0E0FF, "得分 Score 12345   时间 Time 01:23   连击 Combo x3", 1.0f);
        ShowComment();
    }

private:
    kvCFont* small;
    kvCFont* large;
};

class GuiDemo : public kvApplication {
public:
    void Init() override
    {
        auto* text = new kvCFont(pd3dDevice);
        text->InitFont(16, WTEXT_CENTRE, "", 1, false);
        SetOutText(text);
        small = new kvCFont(pd3dDevice);
        small->InitFont(12, WTEXT_LEFT, "", 1, true);
        large = new kvCFont(pd3dDevice);
        large->InitFont(32, WTEXT_LEFT, "", 1, true);
        InitZeb(0);
        SetDesktop(new DemoDesktop(small, large));
        MyDesktop->AddView(new WImageBox(0, 0, -1, -1, nullptr, int(0xFF283848), 1),
                           PLACE_NO_ACTIVATE);
        MyDesktop->AddView(new DemoDialog, PLACE_CENTRE_X | PLACE_CENTRE_Y);
    }
    ~GuiDemo() override
    {
        delete small;
        delete large;
        FreeZeb();
    }

private:
    kvCFont* small = nullptr;
    kvCFont* large = nullptr;
};
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    return RunDemoWindow(
        instance, showCommand, "debug.txt", [] { return new GuiDemo; }, 0, "ZebGuiDemo",
        "Zeb GUI demo", 800, 600);
}
