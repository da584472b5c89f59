// Runs the dialog-source fuzz target without libFuzzer, over inputs derived from the
// shipped source: every truncation at a line end and inside each line's first bytes, and
// seeded replacements of single bytes, so the ordinary test run exercises the same code
// the fuzzer does.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
void Run(const std::string& text)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}
} // namespace

int main(int argc, char** argv)
{
    std::ifstream in(argc > 1 ? argv[1] : VEXA_DIALOG_SOURCE, std::ios::binary);
    const std::string source{std::istreambuf_iterator<char>(in), {}};
    if (source.empty()) {
        std::fprintf(stderr, "no source to derive inputs from\n");
        return 1;
    }
    size_t runs = 0;
    for (size_t cut = 0; cut < source.size(); ++cut)
        if (source[cut] == '\n' || cut % 7 == 0) {
            Run(source.substr(0, cut));
            ++runs;
        }
    std::mt19937 random(15);
    const char replacements[] = "-:[]{}#&*!|>'\"%@` \t\n0x9\xE4";
    for (int i = 0; i < 3000; ++i) {
        std::string spoilt = source;
        const size_t at = random() % spoilt.size();
        spoilt[at] = replacements[random() % (sizeof replacements - 1)];
        Run(spoilt);
        ++runs;
    }
    std::printf("%zu derived sources compiled or refused\n", runs);
    return 0;
}
