// Runs the dialog-block fuzz target without libFuzzer: over the files named on the
// command line, and over inputs derived from a valid dialog holding every stored class
// (every truncation, and seeded byte corruptions), so the ordinary test run exercises
// the same code the fuzzer does.
#include <WInputLine.h>
#include <Zeb.h>

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

std::vector<uint8_t> ValidBlock()
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
    kvStream s("valid", true, false, false);
    s.AddBlock(1);
    dialog.SaveAll(&s);
    const kvStreamBlock* b = s.GetCurrentBlock();
    return std::vector<uint8_t>(b->data, b->data + b->size);
}

}  // namespace

int main(int argc, char** argv)
{
    // "--seed FILE" writes the valid block, a starting input for the fuzzer, and stops.
    if (argc == 3 && std::string(argv[1]) == "--seed") {
        const std::vector<uint8_t> valid = ValidBlock();
        std::ofstream(argv[2], std::ios::binary)
            .write(reinterpret_cast<const char*>(valid.data()), std::streamsize(valid.size()));
        return 0;
    }
    size_t runs = 0;
    for (int i = 1; i < argc; ++i, ++runs) {
        std::ifstream in(argv[i], std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    const std::vector<uint8_t> valid = ValidBlock();
    for (size_t n = 0; n <= valid.size(); ++n, ++runs)
        LLVMFuzzerTestOneInput(valid.data(), n);
    std::mt19937 random(20261209);  // fixed seed: the same inputs every run
    for (int round = 0; round < 20000; ++round, ++runs) {
        std::vector<uint8_t> bytes = valid;
        const int flips = 1 + int(random() % 4);
        for (int f = 0; f < flips; ++f)
            bytes[random() % bytes.size()] = uint8_t(random());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("dialog block replay: %zu inputs, no faults\n", runs);
    return 0;
}
