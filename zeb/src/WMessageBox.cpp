// WMessageBox and WInputBox: dialogs built in code around a text, standard buttons and, for
// the input box, an input line.
//
// Buttons are 80 wide with 20-pixel gaps, the group centred on the dialog: with k buttons
// and the dialog W wide, the first slot's edge is W / 2 - 140 for an odd k and W / 2 - 90
// for an even one, and the i-th button (from 1) stands at that edge + (i - k / 2) x 100.
// Each is attached in turn and made active, so the last one is the default button. The
// box is made wide enough for the buttons it really creates, k x 100 - 15 plus the
// margins, so no button lands outside it.
#include "WMessageBox.h"

#include "WButton.h"
#include "WDesktop.h"
#include "WDialog.h"
#include "WInputLine.h"
#include "WStaticText.h"
#include "zebDraw.h"
#include "zebMain.h"
#include "zebSkin.h"
#include "zebText.h"

#include <kvException.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace {

struct StandardButton {
    int flag;
    DWORD id;  // also its command and its standard caption
};
// Left to right.
constexpr StandardButton kButtons[] = {
    {MB_BUTTON_YES, 3}, {MB_BUTTON_NO, 4}, {MB_BUTTON_OK, 1}, {MB_BUTTON_CANCEL, 2}};

// Buttons the flags create: the flagged ones, or OK alone when none is flagged.
int ButtonFlags(int flags)
{
    const int chosen = flags & (MB_BUTTON_YES | MB_BUTTON_NO | MB_BUTTON_OK | MB_BUTTON_CANCEL);
    return chosen ? chosen : MB_BUTTON_OK;
}

int ButtonCount(int flags)
{
    int k = 0;
    for (const StandardButton& b : kButtons)
        if (flags & b.flag)
            ++k;
    return k;
}

// Pre: buttonFlags come from ButtonFlags; y counts from the bottom of the client area.
void AddButtons(WDialog* dialog, int buttonFlags, int y)
{
    const int k = ButtonCount(buttonFlags);
    const int width = dialog->Right - dialog->Left;
    const int edge = k % 2 ? width / 2 - 140 : width / 2 - 90;
    int i = 1;
    for (const StandardButton& b : kButtons) {
        if (!(buttonFlags & b.flag))
            continue;
        dialog->AddView(new WButton(edge + (i - k / 2) * 100, y, 80, 26, "", "", 0, b.id), 0);
        ++i;
    }
}

struct Extent {
    int w, h;
};

// A block of lines: the widest line, and the lines' heights added up, an empty line
// counting as " ". A line feed is appended first, so a final line feed adds an empty line.
Extent MeasureBlock(const char* text)
{
    char block[MESSAGE_TEXT_BYTES + 2];
    zeb::CopyText(block, MESSAGE_TEXT_BYTES + 1, text);
    std::strcat(block, "\n");
    WText& writer = zeb::Writer();
    Extent e = {0, 0};
    for (const char* line = block; *line;) {
        const int len = zeb::LineBytes(line);
        const char* measured = len ? line : " ";
        e.w = std::max(e.w, writer.GetWidth(measured));
        e.h += writer.GetHeight(measured);
        line += len + 1;
    }
    return e;
}

// A title of one byte from 1 to 7 names a standard caption.
const char* ResolveTitle(const char* title)
{
    if (!title)
        return "";
    const unsigned char code = static_cast<unsigned char>(title[0]);
    if (code >= 1 && code <= 7 && title[1] == 0)
        return CusCaption[code];
    return title;
}

// Holds a box's dialog: released on the way out, also when building it fails.
class BoxDialog {
public:
    explicit BoxDialog(WDialog* d) : dialog(d) {}
    ~BoxDialog() { DELETEVIEW(dialog); }
    WDialog* operator->() const { return dialog; }
    WDialog* get() const { return dialog; }
    BoxDialog(const BoxDialog&) = delete;
    BoxDialog& operator=(const BoxDialog&) = delete;

private:
    WDialog* dialog;
};

[[noreturn]] void OutOfMemory()
{
    NewException("Not enough memory to build a message box.", KVEXCEPTION_GENERAL);
}

}  // namespace

int WMessageBox(const char* title, const char* text, int flags)
{
    title = ResolveTitle(title);
    const Extent body = MeasureBlock(text);
    const Extent head = MeasureBlock(title);
    const int buttons = ButtonFlags(flags);
    const int w = std::max({body.w, head.w, ButtonCount(buttons) * 100 - 15});
    const int h = std::max(body.h, head.h);
    try {
        BoxDialog dialog(new WDialog(0, 0, w + 40, h + 92, title, 0));
        char shown[MESSAGE_TEXT_BYTES + 1];
        zeb::CopyText(shown, sizeof shown, text);
        dialog->AddView(new WStaticText(0, 10, w, h, shown, WTEXT_CENTRE, 0), PLACE_CENTRE_X);
        AddButtons(dialog.get(), buttons, -46);
        return int(RunModal(dialog.get(), PLACE_CENTRE_X | PLACE_CENTRE_Y, true));
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
}

int WInputBox(const char* title, const char* prompt, const char* initial, int flags, int width,
              int maxLength, char* out, DWORD mode, const char* refused)
{
    if (!initial)
        initial = "";
    int result = 0;
    try {
        BoxDialog dialog(new WDialog(0, 0, width + 40, 160, title ? title : "", 0));
        auto* line = new WInputLine(0, -dialog->CaptionH - 60, width, maxLength, 1, mode, true, 0);
        line->ChangeText(initial);
        line->SetRefused(refused ? refused : "");
        dialog->AddView(line, PLACE_CENTRE_X);
        char shown[MESSAGE_TEXT_BYTES + 1];
        zeb::CopyText(shown, sizeof shown, prompt);
        dialog->AddView(new WStaticText(0, zeb::Writer().GetHeight(title ? title : "") + 4,
                                        width + 32, 25, shown, WTEXT_CENTRE, 0),
                        PLACE_CENTRE_X);
        AddButtons(dialog.get(), ButtonFlags(flags & (MB_BUTTON_OK | MB_BUTTON_CANCEL)), -36);
        dialog->SetActive(line);
        result = int(RunModal(dialog.get(), PLACE_CENTRE_X | PLACE_CENTRE_Y, true));
        if (out && result != 2)
            zeb::CopyText(out, size_t(std::max(maxLength, 0)) + 1, line->GetText());
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    // out may be the caller's initial buffer itself.
    if (out && result == 2)
        std::memmove(out, initial, std::strlen(initial) + 1);
    return result;
}
