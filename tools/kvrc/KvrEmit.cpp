// Dialogs, as the loader built them, written back as dialog source. Every field a record
// stores is written unless it holds the value the compiler gives when the source leaves
// it out, so the source compiles to the bytes it came from. What the framework derives
// while loading (a check box's height, a list's rows, a menu's size) is written as
// loaded and derived again by the compiler in the same way.
#include "KvrResource.h"

#include "KvrSchema.h"
#include "KvrText.h"

#include "../../game/include/ResourceIdentity.h"

#include <WButton.h>
#include <WCheckBox.h>
#include <WComboBox.h>
#include <WDialog.h>
#include <WImageBox.h>
#include <WInputLine.h>
#include <WListBox.h>
#include <WMenu.h>
#include <WSlider.h>
#include <WStaticText.h>

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace kvrc {
namespace {

std::string Hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", unsigned(value));
    return text;
}

bool IsOwnedPart(const WView* view)
{
    return view->Type == WTTVScrollBar || view->Type == WTTSlaveButton ||
           view->Type == WTTCheckButton || view->Type == WTTHScrollBar;
}

class Writer {
  public:
    YAML::Emitter out;

    void Text(const char* key, const char* gbk)
    {
        out << YAML::Key << key << YAML::Value << YAML::DoubleQuoted << GbkToUtf8(gbk);
    }

    void Number(const char* key, long long value)
    {
        out << YAML::Key << key << YAML::Value << value;
    }

    // Named bits as names, the rest as one number.
    void Flags(const char* key, DWORD bits, const FlagName* table, size_t size)
    {
        if (!bits)
            return;
        out << YAML::Key << key << YAML::Value << YAML::Flow << YAML::BeginSeq;
        for (size_t i = 0; i < size; ++i)
            if (bits & table[i].bit) {
                out << table[i].name;
                bits &= ~table[i].bit;
            }
        if (bits)
            out << Hex(bits);
        out << YAML::EndSeq;
    }

    // One value of the table by name, or its number.
    void Choice(const char* key, DWORD value, const FlagName* table, size_t size)
    {
        out << YAML::Key << key << YAML::Value;
        for (size_t i = 0; i < size; ++i)
            if (table[i].bit == value) {
                out << table[i].name;
                return;
            }
        out << value;
    }

    void Common(const WView* view, bool root)
    {
        const ClassInfo* info = ClassByType(view->Type);
        if (!root && view->Type != WTTMenu)
            out << YAML::Key << "type" << YAML::Value << info->name;
        if (root || view->Id)
            Number("id", view->Id);
        out << YAML::Key << "rect" << YAML::Value << YAML::Flow << YAML::BeginSeq
            << view->DesignLeft << view->DesignTop << view->DesignRight - view->DesignLeft
            << view->DesignBottom - view->DesignTop << YAML::EndSeq;
        const bool standardButton = view->Type == WTTButton && view->Id >= 1 && view->Id <= 4;
        if (!standardButton && std::string(view->Caption) != info->caption)
            Text("caption", view->Caption);
        if (view->Comment[0])
            Text("comment", view->Comment);
        Flags("state", view->State & ~kRuntimeStateBits, kStateFlags, std::size(kStateFlags));
        Flags("placement", view->Placement, kPlacementFlags, std::size(kPlacementFlags));
    }

    void Items(const WStringList* strings)
    {
        const int defaultCapacity = std::max(kDefaultListCapacity, int(strings->count));
        if (strings->capacity != defaultCapacity)
            Number("capacity", strings->capacity);
        if (!strings->count)
            return;
        // A short list reads best on one line, as a designer writes it.
        out << YAML::Key << "items" << YAML::Value;
        if (strings->count <= 8)
            out << YAML::Flow;
        out << YAML::BeginSeq;
        for (int i = 0; i < strings->count; ++i)
            out << YAML::DoubleQuoted << GbkToUtf8(strings->strings[i] ? strings->strings[i] : "");
        out << YAML::EndSeq;
    }

    void Menu(const WMenu* menu, bool asView)
    {
        out << YAML::BeginMap;
        if (asView)
            out << YAML::Key << "type" << YAML::Value << "WMenu";
        Common(menu, false);
        if (menu->MinWidth)
            Number("min-width", menu->MinWidth);
        if (menu->Count) {
            out << YAML::Key << "items" << YAML::Value << YAML::BeginSeq;
            for (int i = 0; i < menu->Count; ++i) {
                const WMenuItem& item = menu->Items[i];
                if (!item.Text[0] && !item.Command && !item.SubMenu) {
                    out << "separator";
                    continue;
                }
                out << YAML::BeginMap;
                Text("text", item.Text);
                if (item.Command)
                    Number("command", item.Command);
                if (item.SubMenu) {
                    out << YAML::Key << "submenu" << YAML::Value;
                    Menu(item.SubMenu, false);
                }
                out << YAML::EndMap;
            }
            out << YAML::EndSeq;
        }
        out << YAML::EndMap;
    }

    void View(const WView* view, bool root)
    {
        if (view->Type == WTTMenu)
            return Menu(static_cast<const WMenu*>(view), true);
        const ClassInfo* info = ClassByType(view->Type);
        if (!info)
            throw Error("a view of type " + std::to_string(view->Type) + " has no source form");
        out << YAML::BeginMap;
        Common(view, root);
        ClassFields(view);
        bool hasChildren = false;
        for (const WView* child = view->Child; child; child = child->Next)
            hasChildren = hasChildren || !IsOwnedPart(child);
        if (hasChildren && !info->container)
            throw Error(std::string("a ") + info->name + " with id " + std::to_string(view->Id) +
                        " holds child views, which its source form cannot express");
        if (hasChildren) {
            out << YAML::Key << "children" << YAML::Value << YAML::BeginSeq;
            for (const WView* child = view->Child; child; child = child->Next)
                if (!IsOwnedPart(child))
                    View(child, false);
            out << YAML::EndSeq;
        }
        out << YAML::EndMap;
    }

    void ClassFields(const WView* view)
    {
        switch (view->Type) {
        case WTTButton: {
            const auto* button = static_cast<const WButton*>(view);
            const bool standard = view->Id >= 1 && view->Id <= 4;
            if (!standard && button->Command)
                Number("command", button->Command);
            break;
        }
        case WTTCheckBox:
            if (static_cast<const WCheckBox*>(view)->GetCheck())
                out << YAML::Key << "checked" << YAML::Value << true;
            break;
        case WTTComboBox: {
            const auto* combo = static_cast<const WComboBox*>(view);
            if (combo->Lines != kDefaultComboLines)
                Number("lines", combo->Lines);
            Items(combo->List->Strings);
            break;
        }
        case WTTImageBox:
            out << YAML::Key << "colour" << YAML::Value
                << Hex(DWORD(static_cast<const WImageBox*>(view)->Color));
            break;
        case WTTInputLine: {
            auto* line = const_cast<WInputLine*>(static_cast<const WInputLine*>(view));
            if (line->MaxLength != kInputTextBytes)
                Number("max-length", line->MaxLength);
            if (line->Command)
                Number("command", line->Command);
            if (line->Mode)
                Choice("mode", DWORD(line->Mode), kInputModes, std::size(kInputModes));
            if (line->GetText()[0])
                Text("text", line->GetText());
            if (line->Refused[0])
                Text("refused", line->Refused);
            break;
        }
        case WTTListBox:
            Items(static_cast<const WListBox*>(view)->Strings);
            break;
        case WTTSlider:
            if (static_cast<const WSlider*>(view)->Steps != 1)
                Number("steps", static_cast<const WSlider*>(view)->Steps);
            break;
        case WTTStaticText:
        case WTTStatusBox: {
            const auto* label = static_cast<const WStaticText*>(view);
            if (label->TextFormat)
                Choice("format", label->TextFormat, kTextFormats, std::size(kTextFormats));
            if (label->Text[0])
                Text("text", label->Text);
            break;
        }
        case WTTMenuBar: {
            const auto* bar = static_cast<const WMenuBar*>(view);
            if (!bar->DropDown)
                out << YAML::Key << "drop-down" << YAML::Value << false;
            if (bar->Count) {
                out << YAML::Key << "menus" << YAML::Value << YAML::BeginSeq;
                for (int i = 0; i < bar->Count; ++i)
                    Menu(bar->Bases[i].Menu, false);
                out << YAML::EndSeq;
            }
            break;
        }
        default:
            break;
        }
    }
};

} // namespace

std::string WriteSource(const std::vector<DialogTree>& dialogs)
{
    Writer w;
    w.out.SetIndent(2);
    w.out << YAML::Comment(
        "Decompiled by kvrc; compiling it gives the resource file it came from.");
    w.out << YAML::BeginMap;
    w.Number("version", RESOURCE_FORMAT_VERSION);
    w.out << YAML::Key << "dialogs" << YAML::Value << YAML::BeginSeq;
    for (const DialogTree& tree : dialogs) {
        if (tree.dialog->Id != tree.id)
            throw Error("block " + Hex(tree.id) + " holds a dialog with id " +
                        Hex(tree.dialog->Id) + "; the source stores every dialog under its own id");
        w.View(tree.dialog.get(), true);
    }
    w.out << YAML::EndSeq << YAML::EndMap;
    if (!w.out.good())
        throw Error(std::string("the source cannot be written: ") + w.out.GetLastError());
    return std::string(w.out.c_str()) + "\n";
}

} // namespace kvrc
