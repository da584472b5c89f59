// InitZeb, FreeZeb, ResizeZeb and the splash frame.
#include "zebMain.h"

#include "CUIStyle.h"
#include "WDesktop.h"
#include "WIME.h"
#include "WStaticText.h"
#include "WText.h"
#include "zebSkin.h"

#include <kvApplication.h>
#include <kvException.h>
#include <kvIME.h>

#include <new>

void InitZeb(DWORD language)
{
    if (language >= ZEB_LANGUAGES)
        NewExceptionf(KVEXCEPTION_GENERAL, "Unknown GUI language: %u.", unsigned(language));
    SetLanguagePack(zeb::kLanguagePacks[language], ZEB_CAPTION_SIZE);
    SetViewPaletteRaw(zeb::kDefaultPalette, sizeof zeb::kDefaultPalette);
    SetUIStyle(new CUIStyle);
    // The framework's input method replaces whatever was installed; FreeZeb deletes it.
    delete kvimei;
    kvimei = new (std::nothrow) WIME;
}

void FreeZeb()
{
    SetUIStyle(nullptr);
    delete OutText;
    SetOutText(nullptr);
    if (MyDesktop) {
        MyDesktop->DelRef();
        if (MyDesktop->GetRef() <= 0) {
            WDesktop* desktop = MyDesktop;
            MyDesktop = nullptr;
            delete desktop;
        }
    }
    delete kvimei;
    kvimei = nullptr;
}

void ResizeZeb()
{
    if (!bZebHandle || !MyDesktop)
        return;
    MyDesktop->Left = MyDesktop->DesignLeft = 0;
    MyDesktop->Top = MyDesktop->DesignTop = 0;
    MyDesktop->Right = MyDesktop->DesignRight = ScreenX;
    MyDesktop->Bottom = MyDesktop->DesignBottom = ScreenY;
    MyDesktop->Repos();
}

void DrawSplash(const char* text)
{
    if (!MyDesktop)
        return;
    MyDesktop->Draw();
    auto* label = new WStaticText(0, 0, ScreenX, 40, text, WTEXT_CENTRE, 0);
    // Not made active: a splash between screens leaves the focus where it was.
    MyDesktop->AddView(label, PLACE_CENTRE_X | PLACE_CENTRE_Y | PLACE_NO_ACTIVATE);
    const int x = ScreenX, y = ScreenY;
    const int left = x / 2 - x / 4, top = y / 2 - y / 8;
    const int right = x / 2 + x / 4, bottom = y / 2 + y / 8;
    MyDesktop->DrawFrame(left, top, right, bottom, false, 2);
    MyDesktop->DrawFrame(left + 5, top + 5, right - 5, bottom - 5, true, 1);
    label->Draw();
    MyDesktop->Refresh();
    MyDesktop->DeleteView(label);
    delete label;
}
