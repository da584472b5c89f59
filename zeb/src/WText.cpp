// The base text writer and the installed-writer slot.
#include "WText.h"

WText* OutText = nullptr;

WText::WText(int h, int f) : height(h), flags(f), colour(255) {}

void WText::DrawTextA(int, int, const char*) {}

// The base writer has no font: every text measures 0.
int WText::GetWidth(const char*)
{
    return 0;
}

int WText::GetHeight(const char*)
{
    return 0;
}

int WText::GetWidthW(const WCHAR*)
{
    return 0;
}

WText::~WText() = default;

void SetOutText(WText* writer)
{
    // The previous writer stays with whoever made it: a program may keep several fonts
    // and switch between them.
    OutText = writer;
}
