// Runs the tile-pack fuzz target without libFuzzer: over the files named on the command
// line, and over inputs derived from a valid pack (every truncation, and seeded byte
// corruptions), so the ordinary test run exercises the same code the fuzzer does.
#include <stdint.h>
#include <stdio.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

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
    std::string valid = std::string("3\r\np_q.jpg\nsub\\x_y.png\nz.tga\n") + '\0' + "desc|line\n";
    for (size_t n = 0; n <= valid.size(); ++n)
        Run(valid.substr(0, n));
    std::mt19937 random(20261208);
    const char bytes[] = {'\0', '\n', '\r', '_', '.', '\\', '/', '9', '-', ' ', '\xFF'};
    for (int round = 0; round < 600; ++round) {
        std::string input = valid;
        int changes = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < changes; ++k) {
            size_t at = random() % input.size();
            input[at] = random() % 2 ? bytes[random() % sizeof(bytes)]
                                     : static_cast<char>(random() & 0xFF);
        }
        Run(input);
    }
    Run("256\n" + std::string(600, 'x') + "\n");
    Run("2\n" + std::string(511, '_') + "\n" + std::string(2000, '.') + "\n");
    printf("tile pack replay: done\n");
    return 0;
}
