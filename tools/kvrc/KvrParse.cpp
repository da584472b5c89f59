// The dialog source read into views of the framework's own classes. The source is YAML:
//
//   version: 1                      # optional; the format version the file stores
//   dialogs:                        # one entry a dialog, stored under its id
//     - id: 32770
//       rect: [-300, 0, 280, 200]   # x, y, width, height, designed as for AddView
//       caption: 主菜单
//       placement: [centre-y]
//       children:
//         - type: WButton
//           ...
//
// Every key a view does not know is refused, so a misspelt key never vanishes quietly;
// every number, text and list is checked against what the record and the loader keep,
// and a refusal names the file, line and column of the node and what was expected.
#include "KvrResource.h"

#include "KvrSchema.h"
#include "KvrText.h"

#include "../../game/include/ResourceIdentity.h"

#include <WButton.h>
#include <WCheckBox.h>
#include <WComboBox.h>
#include <WDialog.h>
#include <WGroup.h>
#include <WImageBox.h>
#include <WInputLine.h>
#include <WListBox.h>
#include <WMenu.h>
#include <WSlider.h>
#include <WStaticText.h>
#include <kvException.h>
#include <kvStream.h>

#include <yaml-cpp/yaml.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <set>

namespace kvrc {
namespace {

constexpr DWORD kReservedBlocks[] = {KVSTREAM_IDENTITY_BLOCK, KVSTREAM_STAMP_BLOCK,
                                     RESOURCE_VERSION_BLOCK};

class Source {
  public:
    explicit Source(const std::string& fileName) : file(fileName) {}

    [[noreturn]] void Fail(const YAML::Mark& at, const std::string& what) const
    {
        if (at.is_null())
            throw Error(file + ": " + what);
        throw Error(file + ":" + std::to_string(at.line + 1) + ":" + std::to_string(at.column + 1) +
                    ": " + what);
    }
    [[noreturn]] void Fail(const YAML::Node& at, const std::string& what) const
    {
        Fail(at.Mark(), what);
    }

    // An integer from min to max, decimal or 0x hexadecimal.
    int64_t Integer(const YAML::Node& node, int64_t min, int64_t max, const std::string& what) const
    {
        const std::string range =
            what + ": an integer from " + std::to_string(min) + " to " + std::to_string(max);
        if (!node.IsScalar())
            Fail(node, "expected " + range);
        const std::string& text = node.Scalar();
        const char* begin = text.c_str();
        const bool negative = *begin == '-';
        const char* digits = negative || *begin == '+' ? begin + 1 : begin;
        const bool hex = digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
        char* end = nullptr;
        errno = 0;
        const unsigned long long magnitude =
            std::strtoull(hex ? digits + 2 : digits, &end, hex ? 16 : 10);
        const unsigned char first = static_cast<unsigned char>(hex ? digits[2] : digits[0]);
        const bool wellFormed = (hex ? std::isxdigit(first) : std::isdigit(first)) && end &&
                                *end == '\0' && errno == 0 && magnitude <= (1ull << 40);
        const int64_t value = negative ? -int64_t(magnitude) : int64_t(magnitude);
        if (!wellFormed || value < min || value > max)
            Fail(node, "expected " + range + ", got \"" + text + "\"");
        return value;
    }

    bool Boolean(const YAML::Node& node, const std::string& what) const
    {
        if (node.IsScalar()) {
            const std::string& text = node.Scalar();
            if (text == "true" || text == "yes")
                return true;
            if (text == "false" || text == "no")
                return false;
        }
        Fail(node, "expected " + what + ": true or false");
    }

    // A text converted to GBK, at most maxBytes bytes there.
    std::string Text(const YAML::Node& node, int maxBytes, const std::string& what) const
    {
        if (!node.IsScalar())
            Fail(node, "expected " + what + ": a text");
        std::string gbk, problem;
        if (!Utf8ToGbk(node.Scalar(), &gbk, &problem))
            Fail(node, what + " cannot be stored: " + problem);
        if (int(gbk.size()) > maxBytes)
            Fail(node, what + " is " + std::to_string(gbk.size()) + " bytes in GBK; at most " +
                           std::to_string(maxBytes) + " fit");
        return gbk;
    }

    // One name of the table or a list of names; integers stand for bits without a name.
    DWORD Flags(const YAML::Node& node, const FlagName* table, size_t size, DWORD forbidden,
                const std::string& what) const
    {
        std::string names;
        for (size_t i = 0; i < size; ++i)
            names += (i ? ", " : "") + std::string(table[i].name);
        const auto one = [&](const YAML::Node& item) -> DWORD {
            if (item.IsScalar())
                for (size_t i = 0; i < size; ++i)
                    if (item.Scalar() == table[i].name)
                        return table[i].bit;
            if (item.IsScalar() && !item.Scalar().empty() &&
                std::isdigit(static_cast<unsigned char>(item.Scalar()[0]))) {
                const DWORD bits = DWORD(Integer(item, 0, 0xFFFFFFFF, what));
                if (bits & forbidden)
                    Fail(item, what + " bits " + Hex(bits & forbidden) +
                                   " are the framework's own at run time and cannot be set");
                return bits;
            }
            Fail(item, "expected " + what + ": " + names + " or a number");
        };
        if (!node.IsSequence())
            return one(node);
        DWORD bits = 0;
        for (const YAML::Node& item : node)
            bits |= one(item);
        return bits;
    }

    static std::string Hex(DWORD value)
    {
        char text[16];
        std::snprintf(text, sizeof text, "0x%X", unsigned(value));
        return text;
    }

  private:
    std::string file;
};

// The keys of one map: a key the map's kind does not know, or a key given twice, is
// refused with its place.
class Fields {
  public:
    Fields(const Source& source, const YAML::Node& node, const std::string& what,
           std::initializer_list<const char*> known)
        : src(source), map(node), name(what)
    {
        if (!map.IsMap())
            src.Fail(map, "expected " + name + ": a map of keys");
        std::set<std::string> seen;
        for (const auto& entry : map) {
            const std::string key = entry.first.Scalar();
            if (!seen.insert(key).second)
                src.Fail(entry.first, "key \"" + key + "\" is given twice in " + name);
            bool ok = false;
            for (const char* k : known)
                ok = ok || key == k;
            if (!ok) {
                std::string list;
                for (const char* k : known)
                    list += (list.empty() ? "" : ", ") + std::string(k);
                src.Fail(entry.first,
                         "unknown key \"" + key + "\" in " + name + "; expected one of: " + list);
            }
        }
    }

    YAML::Node operator[](const char* key) const { return map[key]; }
    bool Has(const char* key) const { return bool(map[key]); }

  private:
    const Source& src;
    YAML::Node map; // a handle on the source's node
    std::string name;
};

// The fields every view record carries.
struct Common {
    DWORD id = 0;
    bool hasRect = false;
    int32_t x = 0, y = 0, width = 0, height = 0;
    bool hasHeight = false;
    std::string caption, comment;
    DWORD state = 0, placement = 0;
};

class Builder {
  public:
    explicit Builder(const Source& source) : src(source) {}

    DialogPtr Dialog(const YAML::Node& node, DWORD* id)
    {
        Fields f(src, node, "a dialog",
                 {"type", "id", "rect", "caption", "comment", "state", "placement", "children"});
        if (f.Has("type") && (!f["type"].IsScalar() || f["type"].Scalar() != "WDialog"))
            src.Fail(f["type"], "a dialog's type is WDialog: every dialog is stored as one");
        if (!f.Has("id"))
            src.Fail(node, "a dialog needs an id: the block it is stored under");
        const ClassInfo* info = ClassByName("WDialog");
        const Common c = ReadCommon(f, *info);
        for (DWORD reserved : kReservedBlocks)
            if (c.id == reserved)
                src.Fail(f["id"], "id " + Source::Hex(c.id) + " is a reserved block of the file");
        *id = c.id;
        views = 0;
        DialogPtr dialog(new WDialog(c.x, c.y, c.width, c.height, "", c.id));
        ApplyCommon(dialog.get(), c);
        Children(f, dialog.get(), 1);
        return dialog;
    }

  private:
    Common ReadCommon(const Fields& f, const ClassInfo& info)
    {
        Common c;
        if (f.Has("id"))
            c.id = DWORD(src.Integer(f["id"], 0, 0xFFFFFFFF, "id"));
        if (f.Has("rect"))
            ReadRect(f["rect"], &c);
        c.caption =
            f.Has("caption") ? src.Text(f["caption"], kViewTextBytes, "caption") : info.caption;
        if (f.Has("comment"))
            c.comment = src.Text(f["comment"], kViewTextBytes, "comment");
        if (f.Has("state"))
            c.state = src.Flags(f["state"], kStateFlags, std::size(kStateFlags), kRuntimeStateBits,
                                "state");
        if (f.Has("placement"))
            c.placement = src.Flags(f["placement"], kPlacementFlags, std::size(kPlacementFlags), 0,
                                    "placement");
        return c;
    }

    void ReadRect(const YAML::Node& node, Common* c)
    {
        if (!node.IsSequence() || (node.size() != 3 && node.size() != 4))
            src.Fail(node, "expected rect: [x, y, width] or [x, y, width, height]");
        const int64_t limit = kCoordLimit;
        c->hasRect = true;
        c->x = int32_t(src.Integer(node[0], -limit, limit, "x"));
        c->y = int32_t(src.Integer(node[1], -limit, limit, "y"));
        c->width = int32_t(src.Integer(node[2], -limit - c->x, limit - c->x, "width"));
        c->hasHeight = node.size() == 4;
        if (c->hasHeight)
            c->height = int32_t(src.Integer(node[3], -limit - c->y, limit - c->y, "height"));
    }

    // The designed rectangle as the source gives it; without a height the class's own stays.
    static void ApplyCommon(WView* view, const Common& c)
    {
        if (c.hasRect) {
            view->Left = view->DesignLeft = c.x;
            view->Top = view->DesignTop = c.y;
            view->Right = view->DesignRight = c.x + c.width;
            if (c.hasHeight)
                view->Bottom = view->DesignBottom = c.y + c.height;
        }
        view->ChangeCaption(c.caption.c_str());
        view->ChangeComment(c.comment.c_str());
        view->State |= c.state;
        view->Placement = c.placement;
    }

    void Children(const Fields& f, WView* parent, int level)
    {
        if (!f.Has("children"))
            return;
        const YAML::Node list = f["children"];
        if (!list.IsSequence())
            src.Fail(list, "expected children: a list of views");
        if (level > kMaxViewDepth)
            src.Fail(list, "views nest more than " + std::to_string(kMaxViewDepth) +
                               " levels deep; the loader refuses that");
        for (const YAML::Node& child : list)
            View(child, parent, level);
    }

    void View(const YAML::Node& node, WView* parent, int level)
    {
        if (!node.IsMap() || !node["type"])
            src.Fail(node, "expected a view: a map with its type, one of " + ClassNames());
        const YAML::Node type = node["type"];
        const ClassInfo* info = type.IsScalar() ? ClassByName(type.Scalar().c_str()) : nullptr;
        if (!info)
            src.Fail(type, "unknown view class \"" + (type.IsScalar() ? type.Scalar() : "") +
                               "\"; expected one of " + ClassNames());
        if (!info->container && node["children"])
            src.Fail(node["children"],
                     std::string("a ") + info->name +
                         " holds no child views; only WView, WDialog and WGroup do");
        if (++views > kMaxViewsPerDialog)
            src.Fail(node, "a dialog holds more than " + std::to_string(kMaxViewsPerDialog) +
                               " views; the loader refuses that");
        Count(node);
        WView* view = nullptr;
        try {
            view = Build(node, *info);
        } catch (kvException* e) {
            const std::string message = e->message;
            DeleteException(e);
            src.Fail(node, std::string("the ") + info->name + " is refused: " + message);
        }
        parent->AddView(view, int(view->Placement));
        // As the loader does: a class that finishes itself after loading does so once
        // attached.
        if (view->Hooks & HOOK_AFTER_LOAD)
            view->AfterLoad();
        if (info->container)
            Children(Fields(src, node, "a view",
                            {"type", "id", "rect", "caption", "comment", "state", "placement",
                             "children"}),
                     view, level + 1);
    }

    static std::string ClassNames()
    {
        return "WView, WButton, WCheckBox, WComboBox, WDialog, WGroup, WImageBox, WInputLine, "
               "WListBox, WSlider, WStaticText, WStatusBox, WMenu, WMenuBar";
    }

    // Reads every field of the view first and builds it only then, so that a refusal
    // leaves nothing half made.
    WView* Build(const YAML::Node& node, const ClassInfo& info)
    {
        switch (info.type) {
        case WTTView:
        case WTTDialog:
        case WTTGroup: {
            Fields f(
                src, node, std::string("a ") + info.name,
                {"type", "id", "rect", "caption", "comment", "state", "placement", "children"});
            const Common c = ReadCommon(f, info);
            WView* view =
                info.type == WTTView ? new WView(c.x, c.y, c.width, c.height, "", "", c.id)
                : info.type == WTTDialog
                    ? static_cast<WView*>(new WDialog(c.x, c.y, c.width, c.height, "", c.id))
                    : new WGroup(c.x, c.y, c.width, c.height, "", c.id);
            ApplyCommon(view, c);
            return view;
        }
        case WTTButton: {
            Fields f(src, node, "a WButton",
                     {"type", "id", "rect", "caption", "comment", "state", "placement", "command"});
            const Common c = ReadCommon(f, info);
            const bool standard = c.id >= 1 && c.id <= 4;
            int32_t command = standard ? int32_t(c.id) : 0;
            if (f.Has("command"))
                command = int32_t(src.Integer(f["command"], INT32_MIN, INT32_MAX, "command"));
            if (standard && f.Has("caption"))
                src.Fail(f["caption"], "a button with id 1 to 4 shows the standard caption of its "
                                       "id; give it no caption, or another id");
            if (standard && command != int32_t(c.id))
                src.Fail(f["command"], "a button with id 1 to 4 posts its id as its command");
            auto* button = new WButton(c.x, c.y, c.width, c.height, "", "", command, c.id);
            if (standard) {
                Common kept = c;
                kept.caption = button->Caption;
                ApplyCommon(button, kept);
            } else {
                ApplyCommon(button, c);
            }
            return button;
        }
        case WTTCheckBox: {
            Fields f(src, node, "a WCheckBox",
                     {"type", "id", "rect", "caption", "comment", "state", "placement", "checked"});
            const Common c = ReadCommon(f, info);
            const bool checked = f.Has("checked") && src.Boolean(f["checked"], "checked");
            auto* box = new WCheckBox(c.x, c.y, c.width, c.height, "", c.id);
            ApplyCommon(box, c);
            // AfterLoad, run once the box is attached, rebuilds its check button from the
            // state as loaded.
            box->InitCheck = checked ? 1 : 0;
            box->SetCheck(checked);
            return box;
        }
        case WTTComboBox: {
            Fields f(src, node, "a WComboBox",
                     {"type", "id", "rect", "caption", "comment", "state", "placement", "lines",
                      "capacity", "items"});
            const Common c = ReadCommon(f, info);
            const int lines = f.Has("lines")
                                  ? int(src.Integer(f["lines"], 0, kMaxListCapacity, "lines"))
                                  : kDefaultComboLines;
            const int capacity = Capacity(f);
            const std::vector<std::string> items = ListItems(f, capacity);
            auto* combo = new WComboBox(c.x, c.y, c.width, c.height, lines, capacity, c.id);
            ApplyCommon(combo, c);
            for (const std::string& item : items)
                combo->AddString(WSL_APPEND, item.c_str());
            return combo;
        }
        case WTTImageBox: {
            Fields f(src, node, "a WImageBox",
                     {"type", "id", "rect", "caption", "comment", "state", "placement", "colour"});
            const Common c = ReadCommon(f, info);
            const DWORD colour =
                f.Has("colour")
                    ? DWORD(src.Integer(f["colour"], 0, 0xFFFFFFFF, "colour (0xAARRGGBB)"))
                    : 0;
            auto* image = new WImageBox(c.x, c.y, c.width, c.height, nullptr, int(colour), c.id);
            ApplyCommon(image, c);
            return image;
        }
        case WTTInputLine: {
            Fields f(src, node, "a WInputLine",
                     {"type", "id", "rect", "caption", "comment", "state", "placement",
                      "max-length", "command", "mode", "text", "refused"});
            const Common c = ReadCommon(f, info);
            const int maxLength =
                f.Has("max-length")
                    ? int(src.Integer(f["max-length"], 0, kInputTextBytes, "max-length"))
                    : kInputTextBytes;
            const int32_t command =
                f.Has("command")
                    ? int32_t(src.Integer(f["command"], INT32_MIN, INT32_MAX, "command"))
                    : 0;
            const DWORD mode =
                f.Has("mode") ? Choice(f["mode"], kInputModes, std::size(kInputModes), 3, "mode")
                              : 0;
            const std::string text =
                f.Has("text") ? src.Text(f["text"], maxLength, "text (within max-length)") : "";
            const std::string refused =
                f.Has("refused") ? src.Text(f["refused"], kInputTextBytes, "refused") : "";
            auto* line = new WInputLine(c.x, c.y, c.width, maxLength, command, mode, true, c.id);
            ApplyCommon(line, c);
            line->ChangeText(text.c_str());
            line->SetRefused(refused.c_str());
            return line;
        }
        case WTTListBox: {
            Fields f(src, node, "a WListBox",
                     {"type", "id", "rect", "caption", "comment", "state", "placement", "capacity",
                      "items"});
            const Common c = ReadCommon(f, info);
            const int capacity = Capacity(f);
            const std::vector<std::string> items = ListItems(f, capacity);
            auto* list = new WListBox(c.x, c.y, c.width, c.height, capacity, c.id);
            ApplyCommon(list, c);
            for (const std::string& item : items)
                list->AddString(WSL_APPEND, item.c_str());
            return list;
        }
        case WTTSlider: {
            Fields f(src, node, "a WSlider",
                     {"type", "id", "rect", "caption", "comment", "state", "placement", "steps"});
            const Common c = ReadCommon(f, info);
            const int steps =
                f.Has("steps") ? int(src.Integer(f["steps"], 1, kMaxSliderSteps, "steps")) : 1;
            auto* slider = new WSlider(nullptr, c.x, c.y, c.width, (unsigned short)steps, c.id);
            ApplyCommon(slider, c);
            return slider;
        }
        case WTTStaticText:
        case WTTStatusBox: {
            Fields f(src, node, std::string("a ") + info.name,
                     {"type", "id", "rect", "caption", "comment", "state", "placement", "format",
                      "text"});
            const Common c = ReadCommon(f, info);
            const DWORD format = f.Has("format")
                                     ? Choice(f["format"], kTextFormats, std::size(kTextFormats),
                                              0xFFFFFFFF, "format")
                                     : 0;
            const std::string text =
                f.Has("text") ? src.Text(f["text"], kStaticTextBytes, "text") : "";
            WStaticText* label =
                info.type == WTTStaticText
                    ? new WStaticText(c.x, c.y, c.width, c.height, text.c_str(), format, c.id)
                    : new WStatusBox(c.x, c.y, c.width, c.height, text.c_str(), c.id);
            label->TextFormat = format;
            ApplyCommon(label, c);
            return label;
        }
        case WTTMenu:
            return Menu(node, 1);
        case WTTMenuBar: {
            Fields f(src, node, "a WMenuBar",
                     {"type", "id", "rect", "caption", "comment", "state", "placement", "drop-down",
                      "menus"});
            const Common c = ReadCommon(f, info);
            const bool dropDown = !f.Has("drop-down") || src.Boolean(f["drop-down"], "drop-down");
            std::vector<WMenu*> menus;
            if (f.Has("menus")) {
                const YAML::Node list = f["menus"];
                if (!list.IsSequence())
                    src.Fail(list, "expected menus: a list of menus");
                if (list.size() > size_t(kMaxMenuBases))
                    src.Fail(list, "a menu bar holds at most " + std::to_string(kMaxMenuBases) +
                                       " menus");
                try {
                    for (const YAML::Node& m : list)
                        menus.push_back(Menu(m, 1));
                } catch (...) {
                    for (WMenu* m : menus)
                        Release(m);
                    throw;
                }
            }
            auto* bar = new WMenuBar(c.x, c.y, c.width, c.height, dropDown, c.id);
            ApplyCommon(bar, c);
            for (WMenu* m : menus)
                bar->AddBase(m);
            return bar;
        }
        default:
            src.Fail(node, std::string("a ") + info.name + " cannot be stored");
        }
    }

    // One value of the table by name, or a number from 0 to max.
    DWORD Choice(const YAML::Node& node, const FlagName* table, size_t size, DWORD max,
                 const std::string& what)
    {
        std::string names;
        for (size_t i = 0; i < size; ++i) {
            if (node.IsScalar() && node.Scalar() == table[i].name)
                return table[i].bit;
            names += (i ? ", " : "") + std::string(table[i].name);
        }
        if (node.IsScalar() && !node.Scalar().empty() &&
            std::isdigit(static_cast<unsigned char>(node.Scalar()[0])))
            return DWORD(src.Integer(node, 0, max, what));
        src.Fail(node, "expected " + what + ": " + names + " or a number");
    }

    int Capacity(const Fields& f)
    {
        if (f.Has("capacity"))
            return int(src.Integer(f["capacity"], 1, kMaxListCapacity, "capacity"));
        const size_t items = f.Has("items") && f["items"].IsSequence() ? f["items"].size() : 0;
        return int(
            std::max<size_t>(kDefaultListCapacity, std::min<size_t>(items, kMaxListCapacity)));
    }

    std::vector<std::string> ListItems(const Fields& f, int capacity)
    {
        std::vector<std::string> items;
        if (!f.Has("items"))
            return items;
        const YAML::Node list = f["items"];
        if (!list.IsSequence())
            src.Fail(list, "expected items: a list of texts");
        if (list.size() > size_t(capacity))
            src.Fail(list, std::to_string(list.size()) + " items do not fit a capacity of " +
                               std::to_string(capacity));
        for (const YAML::Node& item : list)
            items.push_back(src.Text(item, kStoredStringBytes, "an item"));
        return items;
    }

    // A menu and its sub-menus; depth counts the menus above it, a bar's menus at 1.
    WMenu* Menu(const YAML::Node& node, int depth)
    {
        Fields f(src, node, "a WMenu",
                 {"type", "id", "rect", "caption", "comment", "state", "placement", "min-width",
                  "items"});
        if (f.Has("type") && (!f["type"].IsScalar() || f["type"].Scalar() != "WMenu"))
            src.Fail(f["type"], "expected a WMenu here");
        if (depth > kMaxMenuDepth)
            src.Fail(node, "menus nest more than " + std::to_string(kMaxMenuDepth) +
                               " levels deep; the loader refuses that");
        Count(node);
        const Common c = ReadCommon(f, *ClassByName("WMenu"));
        const int minWidth =
            f.Has("min-width") ? int(src.Integer(f["min-width"], 0, kCoordLimit, "min-width")) : 0;
        struct Item {
            std::string text;
            DWORD command;
            WMenu* sub;
        };
        std::vector<Item> items;
        try {
            if (f.Has("items")) {
                const YAML::Node list = f["items"];
                if (!list.IsSequence())
                    src.Fail(list, "expected items: a list of menu items");
                if (list.size() > size_t(kMaxMenuItems))
                    src.Fail(list,
                             "a menu holds at most " + std::to_string(kMaxMenuItems) + " items");
                for (const YAML::Node& item : list) {
                    if (item.IsScalar() && item.Scalar() == "separator") {
                        items.push_back({"", 0, nullptr});
                        continue;
                    }
                    Fields itemFields(src, item, "a menu item (or the word separator)",
                                      {"text", "command", "submenu"});
                    Item it{"", 0, nullptr};
                    if (itemFields.Has("text"))
                        it.text = src.Text(itemFields["text"], kMenuTextBytes, "an item's text");
                    if (itemFields.Has("command"))
                        it.command =
                            DWORD(src.Integer(itemFields["command"], 0, 0xFFFFFFFF, "command"));
                    if (itemFields.Has("submenu"))
                        it.sub = Menu(itemFields["submenu"], depth + 1);
                    items.push_back(it);
                }
            }
        } catch (...) {
            for (const Item& it : items)
                if (it.sub)
                    Release(it.sub);
            throw;
        }
        auto* menu = new WMenu(c.x, c.y, minWidth, "", c.id);
        ApplyCommon(menu, c);
        for (const Item& it : items)
            menu->AddItem(it.text.c_str(), it.sub, it.command);
        return menu;
    }

    // Aliases let a short source repeat a node without end; the whole source builds a
    // bounded number of views and menus.
    void Count(const YAML::Node& node)
    {
        if (++total > kMaxViewsPerSource)
            src.Fail(node, "the source builds more than " + std::to_string(kMaxViewsPerSource) +
                               " views and menus");
    }

    static void Release(WView* view)
    {
        view->DelRef();
        if (view->GetRef() <= 0)
            delete view;
    }

    const Source& src;
    int views = 0; // in the dialog being built
    int total = 0; // in the whole source
};

} // namespace

std::vector<DialogTree> ParseSource(const std::string& text, const std::string& fileName)
{
    const Source src(fileName);
    YAML::Node root;
    try {
        root = YAML::Load(text);
    } catch (const YAML::ParserException& e) {
        src.Fail(e.mark, "the YAML does not parse: " + e.msg);
    }
    if (!root.IsDefined() || root.IsNull())
        src.Fail(YAML::Mark::null_mark(), "the source is empty; expected a map with dialogs");
    Fields f(src, root, "the source", {"version", "dialogs"});
    if (f.Has("version"))
        src.Integer(f["version"], RESOURCE_FORMAT_VERSION, RESOURCE_FORMAT_VERSION, "version");
    if (!f.Has("dialogs") || !f["dialogs"].IsSequence())
        src.Fail(f.Has("dialogs") ? f["dialogs"].Mark() : root.Mark(),
                 "expected dialogs: a list of dialogs");
    const YAML::Node list = f["dialogs"];
    if (list.size() > size_t(kMaxDialogs))
        src.Fail(list, "a resource file holds at most " + std::to_string(kMaxDialogs) + " dialogs");
    std::vector<DialogTree> dialogs;
    std::set<DWORD> ids;
    Builder builder(src);
    for (const YAML::Node& node : list) {
        DWORD id = 0;
        DialogPtr dialog;
        try {
            dialog = builder.Dialog(node, &id);
        } catch (kvException* e) {
            const std::string message = e->message;
            DeleteException(e);
            src.Fail(node, "the dialog is refused: " + message);
        }
        if (!ids.insert(id).second)
            src.Fail(node["id"], "a dialog with id " + std::to_string(id) + " is given before");
        dialogs.push_back({id, std::move(dialog)});
    }
    return dialogs;
}

} // namespace kvrc
