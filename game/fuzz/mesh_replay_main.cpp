// Runs a mesh fuzz target without libFuzzer: over the files named on the command line,
// and over inputs derived from the target's own valid model (every truncation, seeded
// byte corruptions and a few extremes), so the ordinary test run exercises the code the
// fuzzer does.
#include <stdint.h>
#include <stdio.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" const char* MeshFuzzSeed();

namespace {

void Run(const std::string& input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        Run(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    const std::string valid = MeshFuzzSeed();
    for (size_t n = 0; n <= valid.size(); n += 3)
        Run(valid.substr(0, n));
    std::mt19937 random(20261209);
    const char bytes[] = {'\0', '\n', '\r', ' ', ';', ',', '{', '}', '-', '/', '9', '.', '\xFF'};
    for (int round = 0; round < 400; ++round) {
        std::string input = valid;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < changes; ++k) {
            const size_t at = random() % input.size();
            input[at] = random() % 2 ? bytes[random() % sizeof(bytes)]
                                     : static_cast<char>(random() & 0xFF);
        }
        Run(input);
    }
    Run(valid + std::string(12000, 'v') + "\n");
    Run(valid.substr(0, 20) + std::string(5000, '{'));
    printf("mesh replay: done\n");
    return 0;
}
