// The tables of the dialog source's words.
#include "KvrSchema.h"

#include <cstring>

namespace kvrc {
namespace {

// The owned parts (scroll bars, slave and check buttons) and the desktop are never stored
// and have no line here.
const ClassInfo kClasses[] = {
    {"WView", WTTView, true, ""},
    {"WButton", WTTButton, false, ""},
    {"WCheckBox", WTTCheckBox, false, ""},
    {"WComboBox", WTTComboBox, false, " "},
    {"WDialog", WTTDialog, true, ""},
    {"WGroup", WTTGroup, true, ""},
    {"WImageBox", WTTImageBox, false, ""},
    {"WInputLine", WTTInputLine, false, "InputLine"},
    {"WListBox", WTTListBox, false, " "},
    {"WSlider", WTTSlider, false, ""},
    {"WStaticText", WTTStaticText, false, ""},
    {"WStatusBox", WTTStatusBox, false, ""},
    {"WMenu", WTTMenu, false, ""},
    {"WMenuBar", WTTMenuBar, false, "MenuBar"},
};

} // namespace

const FlagName kStateFlags[4] = {
    {"disabled", VS_DISABLED},
    {"hidden", VS_HIDDEN},
    {"exclusive", VS_EXCLUSIVE},
    {"priority", VS_PRIORITY},
};
const FlagName kPlacementFlags[3] = {
    {"centre-x", PLACE_CENTRE_X},
    {"centre-y", PLACE_CENTRE_Y},
    {"no-activate", PLACE_NO_ACTIVATE},
};
const FlagName kTextFormats[4] = {
    {"left", 0},
    {"right", 2},
    {"centre", 6},
    {"bottom", 8},
};
const FlagName kInputModes[4] = {
    {"text", 0},
    {"ime", 1},
    {"integer", 2},
    {"decimal", 3},
};

const ClassInfo* ClassByName(const char* name)
{
    for (const ClassInfo& c : kClasses)
        if (std::strcmp(c.name, name) == 0)
            return &c;
    return nullptr;
}

const ClassInfo* ClassByType(DWORD type)
{
    for (const ClassInfo& c : kClasses)
        if (c.type == type)
            return &c;
    return nullptr;
}

} // namespace kvrc
