// Runs the fuzz target without libFuzzer: over the files named on the command line, and
// over inputs derived from valid block files (every truncation, and seeded byte
// corruptions), so the ordinary test run exercises the same code the fuzzer does.
#include "MemoryStream.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<BYTE> ValidFile()
{
    MemoryStream s("VexaTessel fuzz identity", true, true, false);
    s.AddBlock(0xFF000001);
    DWORD version = 1;
    s.Write(&version, 4);
    s.AddBlock(0x8001);
    s.SaveString("dialog caption");
    for (DWORD i = 0; i < 8; ++i)
        s.Write(&i, 4);
    s.AddBlock(5);
    s.Flush();
    return s.medium;
}

}  // namespace

int main(int argc, char** argv)
{
    size_t runs = 0;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ++runs;
    }
    const std::vector<BYTE> valid = ValidFile();
    for (size_t n = 0; n <= valid.size(); ++n, ++runs)
        LLVMFuzzerTestOneInput(valid.data(), n);
    std::mt19937 random(20261208);  // fixed seed: the same inputs every run
    for (int round = 0; round < 20000; ++round, ++runs) {
        std::vector<BYTE> bytes = valid;
        int flips = 1 + int(random() % 4);
        for (int f = 0; f < flips; ++f)
            bytes[random() % bytes.size()] = BYTE(random());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("block file replay: %zu inputs, no faults\n", runs);
    return 0;
}
