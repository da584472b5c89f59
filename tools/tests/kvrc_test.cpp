// The resource compiler through its entry points: sources that hold every storable class
// and field come back from the loader as written, compile / decompile / compile gives the
// same bytes, and broken sources and resource files are refused with their place named and
// no output left behind. Source texts are UTF-8 (u8 literals); the loaded views hold GBK,
// which the plain literals of this file are.
#include <KvrResource.h>
#include <ResourceIdentity.h>

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
#include <kvException.h>
#include <kvFileStream.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Every storable class, each field away from its default.
const char kEveryClass[] = u8R"(
dialogs:
  - id: 7
    rect: [-300, -200, 280, 190]
    caption: 全部控件
    comment: 每一种控件
    placement: [centre-x, no-activate]
    state: [exclusive]
    children:
      - type: WGroup
        id: 20
        rect: [4, 4, 200, 120]
        caption: 组
        children:
          - {type: WButton, id: 21, rect: [4, 20, 80, 24], caption: 按钮, comment: 提示, command: 4200}
          - {type: WButton, id: 1, rect: [90, 20, 80, 24]}
          - {type: WView, id: 22, rect: [0, 0, -1, -1], state: [hidden, disabled]}
      - {type: WCheckBox, id: 30, rect: [4, 130, 120], caption: 声音, checked: true}
      - {type: WComboBox, id: 31, rect: [130, 130, 100, 22], lines: 2, capacity: 5, items: [甲, 乙, 丙]}
      - {type: WImageBox, id: 32, rect: [210, 4, 30, 30], colour: 0x80FF2040}
      - {type: WInputLine, id: 33, rect: [4, 160, 120], max-length: 10, command: 4201, mode: integer, text: "-42", refused: "+"}
      - {type: WListBox, id: 34, rect: [210, 40, 60, 80], capacity: 3, items: [一, 二], state: [priority]}
      - {type: WSlider, id: 35, rect: [130, 160, 100], steps: 7}
      - {type: WStaticText, id: 36, rect: [4, -20, 100, 16], format: centre, text: "两行\n文字"}
      - {type: WStatusBox, id: 37, rect: [110, -20, 100, 16], text: 就绪}
      - type: WMenu
        id: 38
        rect: [0, 0, 0, 0]
        caption: 文件
        min-width: 90
        items:
          - {text: 打开, command: 4300}
          - separator
          - {text: "", command: 4301}
      - type: WMenuBar
        id: 39
        rect: [0, 0, -1, 20]
        drop-down: false
        menus:
          - caption: 帮助
            items:
              - text: 最近
                command: 7
                submenu:
                  caption: 子
                  items: [{text: 一, command: 4310}]
  - id: 8
    rect: [0, 0, 10, 10]
)";

std::string Temp(const std::string& name)
{
    return ::testing::TempDir() + "kvrc_" + std::to_string(getpid()) + "_" + name;
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

bool Exists(const std::string& path)
{
    return std::ifstream(path).good();
}

template <typename T> T* Find(WView* root, DWORD id)
{
    // GetSubView searches into groups only; the fixtures here sit in the dialog or a group.
    return static_cast<T*>(GetSubView(root, id));
}

TEST(KvrcRoundTrip, CompileDecompileCompileGivesTheSameBytes)
{
    std::ifstream shipped(VEXA_DIALOG_SOURCE, std::ios::binary);
    const std::string dialogs{std::istreambuf_iterator<char>(shipped), {}};
    ASSERT_FALSE(dialogs.empty());
    for (const std::string& source : {dialogs, std::string(kEveryClass)}) {
        const std::vector<uint8_t> first = kvrc::CompileSource(source, "first.yaml");
        const std::string decompiled = kvrc::DecompileResource(first, "first.kvr");
        const std::vector<uint8_t> second = kvrc::CompileSource(decompiled, "second.yaml");
        EXPECT_EQ(first, second) << decompiled;
        EXPECT_EQ(decompiled, kvrc::DecompileResource(second, "second.kvr"));
    }
}

TEST(KvrcRoundTrip, EveryStorableFieldReachesTheLoader)
{
    const std::string kvr = Temp("every.kvr");
    const std::vector<uint8_t> bytes = kvrc::CompileSource(kEveryClass, "every.yaml");
    {
        std::ofstream out(kvr, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    kvFileStream stream(kvr.c_str(), "rb", true, RESOURCE_IDENTITY_TEXT);
    ASSERT_TRUE(stream.SetBlock(RESOURCE_VERSION_BLOCK));
    uint32_t version = 0;
    stream.Read(&version, 4);
    EXPECT_EQ(version, 1u);

    WDialog dialog(&stream, 7);
    EXPECT_STREQ(dialog.Caption, "全部控件");
    EXPECT_STREQ(dialog.Comment, "每一种控件");
    EXPECT_EQ(dialog.DesignLeft, -300);
    EXPECT_EQ(dialog.DesignBottom, -10);
    EXPECT_EQ(dialog.Placement, DWORD(PLACE_CENTRE_X | PLACE_NO_ACTIVATE));
    EXPECT_EQ(dialog.State & VS_EXCLUSIVE, DWORD(VS_EXCLUSIVE));

    auto* button = Find<WButton>(&dialog, 21);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Parent->Id, 20u) << "the button belongs to the group";
    EXPECT_EQ(button->Command, 4200);
    EXPECT_STREQ(button->Comment, "提示");
    EXPECT_EQ(Find<WButton>(&dialog, 1)->Command, 1);
    EXPECT_EQ(Find<WView>(&dialog, 22)->State & (VS_HIDDEN | VS_DISABLED),
              DWORD(VS_HIDDEN | VS_DISABLED));
    EXPECT_TRUE(Find<WCheckBox>(&dialog, 30)->GetCheck());

    auto* combo = Find<WComboBox>(&dialog, 31);
    EXPECT_EQ(combo->Lines, 2);
    EXPECT_EQ(combo->List->Strings->capacity, 5);
    ASSERT_EQ(combo->List->Strings->count, 3);
    EXPECT_STREQ(combo->List->Strings->strings[2], "丙");

    EXPECT_EQ(DWORD(Find<WImageBox>(&dialog, 32)->Color), 0x80FF2040u);
    auto* line = Find<WInputLine>(&dialog, 33);
    EXPECT_EQ(line->MaxLength, 10);
    EXPECT_EQ(line->Command, 4201);
    EXPECT_EQ(line->Mode, INPUT_INTEGER);
    EXPECT_STREQ(line->GetText(), "-42");
    EXPECT_STREQ(line->Refused, "+");

    auto* list = Find<WListBox>(&dialog, 34);
    EXPECT_EQ(list->Strings->capacity, 3);
    EXPECT_EQ(list->Strings->count, 2);
    EXPECT_EQ(list->State & VS_PRIORITY, DWORD(VS_PRIORITY));
    EXPECT_EQ(Find<WSlider>(&dialog, 35)->Steps, 7);
    auto* label = Find<WStaticText>(&dialog, 36);
    EXPECT_EQ(label->TextFormat, 6u);
    EXPECT_STREQ(label->Text, "两行\n文字");
    EXPECT_EQ(Find<WStaticText>(&dialog, 37)->Type, DWORD(WTTStatusBox));

    auto* menu = Find<WMenu>(&dialog, 38);
    ASSERT_EQ(menu->Count, 3);
    EXPECT_EQ(menu->MinWidth, 90);
    EXPECT_EQ(menu->Items[0].Command, 4300u);
    EXPECT_TRUE(menu->Items[1].Separator);
    EXPECT_EQ(menu->Items[2].Command, 4301u);
    auto* bar = Find<WMenuBar>(&dialog, 39);
    EXPECT_EQ(bar->DropDown, 0);
    ASSERT_EQ(bar->Count, 1);
    const WMenuItem& recent = bar->Bases[0].Menu->Items[0];
    ASSERT_NE(recent.SubMenu, nullptr);
    EXPECT_EQ(recent.Command, 7u);
    EXPECT_EQ(recent.SubMenu->Items[0].Command, 4310u);

    WDialog bare(&stream, 8);
    EXPECT_EQ(bare.Child, nullptr);
    std::remove(kvr.c_str());
}

struct BadSource {
    const char* name;
    const char* source;
    const char* place; // "line:column"
    const char* expected;
};

const BadSource kBadSources[] = {
    {"yaml syntax", u8"dialogs:\n  - id: 1\n    rect: [0, 0\n", "4:1", "does not parse"},
    {"misspelt key", u8"dialogs:\n  - id: 1\n    captoin: x\n", "3:5", "unknown key \"captoin\""},
    {"unknown class", u8"dialogs:\n  - id: 1\n    children:\n      - type: WButon\n", "4:15",
     "unknown view class \"WButon\""},
    {"not a number", u8"dialogs:\n  - id: 1\n    rect: [0, 0, abc, 10]\n", "3:18",
     "expected width"},
    {"outside GBK", u8"dialogs:\n  - id: 1\n    caption: \"好😀\"\n", "3:14", "U+1F600"},
    {"caption too long",
     u8"dialogs:\n  - id: 1\n    caption: "
     u8"一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二\n",
     "3:14", "64 bytes in GBK; at most 63"},
    {"same id twice", u8"dialogs:\n  - id: 5\n  - id: 5\n", "3:9", "given before"},
    {"reserved id", u8"dialogs:\n  - id: 0xFF000001\n", "2:9", "reserved block"},
    {"children of a button",
     u8"dialogs:\n  - id: 1\n    children:\n      - type: WButton\n        children: []\n", "5:19",
     "holds no child views"},
    {"too many items",
     u8"dialogs:\n  - id: 1\n    children:\n      - {type: WListBox, capacity: 1, items: [a, b]}\n",
     "4:46", "do not fit a capacity of 1"},
    {"standard caption",
     u8"dialogs:\n  - id: 1\n    children:\n      - {type: WButton, id: 2, caption: x}\n", "4:41",
     "standard caption"},
    {"runtime state bit", u8"dialogs:\n  - id: 1\n    state: [hidden, 0x4]\n", "3:21", "run time"},
    {"slider without steps",
     u8"dialogs:\n  - id: 1\n    children:\n      - {type: WSlider, steps: 0}\n", "4:32",
     "expected steps"},
    {"no dialogs", u8"version: 1\n", "1:1", "expected dialogs"},
    {"wrong version", u8"version: 2\ndialogs: []\n", "1:10", "expected version"},
};

TEST(KvrcBadSource, IsRefusedWithItsPlaceAndLeavesNoOutput)
{
    for (const BadSource& row : kBadSources) {
        SCOPED_TRACE(row.name);
        const std::string source = Temp("bad.yaml"), output = Temp("bad.kvr");
        WriteText(source, row.source);
        WriteText(output, "an older resource file");
        try {
            kvrc::CompileFile(source, output);
            ADD_FAILURE() << "compiled";
        } catch (const kvrc::Error& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(source + ":" + row.place + ":"), std::string::npos) << message;
            EXPECT_NE(message.find(row.expected), std::string::npos) << message;
        }
        EXPECT_FALSE(Exists(output));
        std::remove(source.c_str());
    }
}

TEST(KvrcBadSource, AliasesCannotMultiplyViewsWithoutEnd)
{
    // Each menu opens 32 sub-menus that are all the menu before it: 33825 menus in all.
    const auto items = [](const char* sub) {
        std::string list = "[";
        for (int i = 0; i < 32; ++i)
            list += std::string("{text: x, submenu: *") + sub + "}, ";
        return list + "]";
    };
    const std::string source = std::string(u8"dialogs:\n  - id: 1\n    children:\n") +
                               "      - type: WMenuBar\n        menus:\n" +
                               "          - &m1 {items: [{text: x}]}\n" +
                               "          - &m2 {items: " + items("m1") + "}\n" +
                               "          - &m3 {items: " + items("m2") + "}\n" +
                               "          - &m4 {items: " + items("m3") + "}\n";
    try {
        kvrc::CompileSource(source, "aliases.yaml");
        ADD_FAILURE() << "compiled";
    } catch (const kvrc::Error& e) {
        EXPECT_NE(std::string(e.what()).find("more than 16384 views and menus"), std::string::npos)
            << e.what();
    }
}

TEST(KvrcBadSource, TheProgramExitsWithAnErrorAndTheMessage)
{
    const std::string source = Temp("exit.yaml"), output = Temp("exit.kvr"), log = Temp("exit.txt");
    WriteText(source, u8"dialogs:\n  - id: 1\n    rect: [0, 0, 1]\n    colour: 3\n");
    const std::string command =
        std::string(KVRC_PROGRAM) + " " + source + " " + output + " 2>" + log;
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::ifstream in(log);
    const std::string message{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(message.find(":4:5: unknown key \"colour\""), std::string::npos) << message;
    EXPECT_FALSE(Exists(output));
    for (const std::string& path : {source, log})
        std::remove(path.c_str());
}

// A resource file spoilt in one place.
struct BadResource {
    const char* name;
    void (*spoil)(std::vector<uint8_t>&);
    const char* expected;
};

const BadResource kBadResources[] = {
    {"other identity", [](std::vector<uint8_t>& b) { b[4 + 12 * 4 + 4] ^= 1; },
     "not a resource file"},
    {"empty", [](std::vector<uint8_t>& b) { b.clear(); }, "not a block file"},
    {"truncated", [](std::vector<uint8_t>& b) { b.resize(b.size() - 20); }, "not a block file"},
    {"button of an unknown type", [](std::vector<uint8_t>& b) { b[b.size() - 52] = 99; },
     "block 0x00000003 is refused: View type 99"},
};

TEST(KvrcBadResource, DecompilingIsRefusedAndLeavesNoOutput)
{
    const std::vector<uint8_t> good = kvrc::CompileSource(
        u8"dialogs:\n  - id: 3\n    children:\n      - {type: WButton, id: 9, command: 4}\n",
        "good.yaml");
    for (const BadResource& row : kBadResources) {
        SCOPED_TRACE(row.name);
        std::vector<uint8_t> bytes = good;
        row.spoil(bytes);
        const std::string input = Temp("bad_in.kvr"), output = Temp("bad_out.yaml");
        WriteText(input, std::string(bytes.begin(), bytes.end()));
        try {
            kvrc::DecompileFile(input, output);
            ADD_FAILURE() << "decompiled";
        } catch (const kvrc::Error& e) {
            EXPECT_NE(std::string(e.what()).find(row.expected), std::string::npos) << e.what();
        }
        EXPECT_FALSE(Exists(output));
        std::remove(input.c_str());
    }
}

} // namespace
