// Runs the dialog-block fuzz target without libFuzzer: over the files named on the
// command line, and over inputs derived from valid dialogs (one holding every stored
// class, one with an input line in each mode, one with menus nested as deep as a record
// may and a full menu and bar): every truncation, and seeded byte corruptions, so the
// ordinary test run exercises the same code the fuzzer does.
#include <WInputLine.h>
#include <Zeb.h>

#include <kvException.h>
#include <kvStream.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<uint8_t> Stored(WDialog& dialog)
{
    kvStream s("valid", true, false, false);
    s.AddBlock(1);
    dialog.SaveAll(&s);
    const kvStreamBlock* b = s.GetCurrentBlock();
    return std::vector<uint8_t>(b->data, b->data + b->size);
}

std::vector<uint8_t> EveryClassBlock()
{
    WDialog dialog(0, 0, 400, 300, "Fuzz", 100);
    auto* group = new WGroup(10, 10, 150, 100, "G", 1);
    group->AddView(new WButton(5, 5, 40, 20, "b", "", 7, 2), 0);
    group->AddView(new WCheckBox(5, 40, 80, 0, "c", 3), PLACE_NO_ACTIVATE);
    dialog.AddView(group, 0);
    auto* list = new WListBox(170, 10, 100, 60, 5, 4);
    for (const char* s : {"one", "two", "a rather long row that does not fit", "four"})
        list->AddString(WSL_APPEND, s);
    dialog.AddView(list, PLACE_NO_ACTIVATE);
    auto* combo = new WComboBox(10, -40, 100, 20, 3, 4, 5);
    combo->AddString(WSL_APPEND, "x");
    combo->AddString(WSL_APPEND, "y");
    dialog.AddView(combo, PLACE_NO_ACTIVATE);
    dialog.AddView(new WSlider(nullptr, 170, 100, 110, 4, 6), PLACE_CENTRE_X);
    dialog.AddView(new WStatusBox(10, 200, -11, 20, "s", 7), 0);
    dialog.AddView(new WImageBox(300, 100, 20, 20, nullptr, 0x11223344, 8), 0);
    dialog.AddView(new WStaticText(300, 150, 50, 40, "t\nu", 6, 9), 0);
    auto* line = new WInputLine(300, 200, 80, 20, 1, INPUT_DECIMAL, true, 10);
    line->ChangeText("-1.5");
    dialog.AddView(line, 0);
    // A bar whose menu nests two levels of sub-menus, and a separator.
    auto* bar = new WMenuBar(0, 0, -1, 20, true, 11);
    auto* deepest = new WMenu(0, 0, 30, "d", 0);
    deepest->AddItem("z", nullptr, 4203);
    auto* middle = new WMenu(0, 0, 30, "m", 0);
    middle->AddItem("y", deepest, 0);
    auto* menu = new WMenu(0, 0, 60, "File", 12);
    menu->AddItem("x", nullptr, 4201);
    menu->AddItem("", nullptr, 0);
    menu->AddItem("sub", middle, 0);
    bar->AddBase(menu);
    bar->AddBase(new WMenu(0, 0, 40, "Help", 13));
    dialog.AddView(bar, PLACE_NO_ACTIVATE);
    return Stored(dialog);
}

// An input line in each mode, with texts, double-byte text and refused sets.
std::vector<uint8_t> InputLinesBlock()
{
    WDialog dialog(0, 0, 400, 300, "Lines", 100);
    const char* const texts[] = {"abc 123", "\xD6\xD0\xCE\xC4", "-125", "3.5"};
    for (int mode = 0; mode < 4; ++mode) {
        auto* line = new WInputLine(10, 10 + 30 * mode, 120, 8 + 8 * mode, 4400 + mode,
                                    DWORD(mode), true, DWORD(20 + mode));
        line->SetRefused(mode == 0 ? "xyz" : "");
        line->ChangeText(texts[mode]);
        dialog.AddView(line, mode == 1 ? 0 : PLACE_NO_ACTIVATE);
    }
    return Stored(dialog);
}

// Menus nested as deep as a record may, a menu of 32 items and a bar of 32 bases.
std::vector<uint8_t> DeepMenusBlock()
{
    WDialog dialog(0, 0, 400, 300, "Menus", 100);
    auto* bar = new WMenuBar(0, 0, -1, 20, true, 11);
    WMenu* inner = new WMenu(0, 0, 30, "d", 0);
    inner->AddItem("end", nullptr, 4300);
    for (int level = 1; level < MENU_MAX_DEPTH; ++level) {
        auto* outer = new WMenu(0, 0, 30, "n", 0);
        outer->AddItem("in", inner, 0);
        outer->AddItem("", nullptr, 0);
        inner = outer;
    }
    bar->AddBase(inner);
    auto* full = new WMenu(0, 0, 30, "full", 0);
    for (int i = 0; i < MENU_MAX_ITEMS; ++i)
        full->AddItem(i % 5 == 4 ? "" : "item", nullptr, DWORD(4301 + i));
    bar->AddBase(full);
    while (bar->Count < MENUBAR_MAX_BASES)
        bar->AddBase(new WMenu(0, 0, 10, "b", 0));
    dialog.AddView(bar, PLACE_NO_ACTIVATE);
    return Stored(dialog);
}

std::vector<std::vector<uint8_t>> ValidBlocks()
{
    return {EveryClassBlock(), InputLinesBlock(), DeepMenusBlock()};
}

}  // namespace

int main(int argc, char** argv)
{
    // "--seed PREFIX" writes the valid blocks, starting inputs for the fuzzer, as
    // PREFIX0.blk, PREFIX1.blk, ... and stops.
    if (argc == 3 && std::string(argv[1]) == "--seed") {
        const std::vector<std::vector<uint8_t>> blocks = ValidBlocks();
        for (size_t i = 0; i < blocks.size(); ++i)
            std::ofstream(std::string(argv[2]) + std::to_string(i) + ".blk", std::ios::binary)
                .write(reinterpret_cast<const char*>(blocks[i].data()),
                       std::streamsize(blocks[i].size()));
        return 0;
    }
    size_t runs = 0;
    for (int i = 1; i < argc; ++i, ++runs) {
        std::ifstream in(argv[i], std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    // The starting blocks themselves must load: a refused one would seed nothing.
    for (const std::vector<uint8_t>& valid : ValidBlocks()) {
        kvStream in("valid", true, false, false);
        in.AddBlock(1);
        in.Write(valid.data(), DWORD(valid.size()));
        try {
            WDialog dialog(&in, 1);
        } catch (kvException* e) {
            std::printf("a valid block was refused: %s\n", e->message);
            DeleteException(e);
            return 1;
        }
    }
    std::mt19937 random(20261209);  // fixed seed: the same inputs every run
    for (const std::vector<uint8_t>& valid : ValidBlocks()) {
        for (size_t n = 0; n <= valid.size(); ++n, ++runs)
            LLVMFuzzerTestOneInput(valid.data(), n);
        for (int round = 0; round < 8000; ++round, ++runs) {
            std::vector<uint8_t> bytes = valid;
            const int flips = 1 + int(random() % 4);
            for (int f = 0; f < flips; ++f)
                bytes[random() % bytes.size()] = uint8_t(random());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        }
    }
    std::printf("dialog block replay: %zu inputs, no faults\n", runs);
    return 0;
}
