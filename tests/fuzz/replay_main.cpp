// A main for the fuzzers built without libFuzzer (the native sanitizer build):
// runs the fuzzer once on every file named on the command line, or found in a
// directory named there, and fails when it finds no input at all. A failed
// property traps, which ends the run.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/fuzz_support.h"

namespace {

void RunFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::fprintf(stderr, "Running %s (%zu bytes)\n", path.c_str(), bytes.size());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = argv[i];
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg)) {
                if (!entry.is_regular_file()) continue;
                RunFile(entry.path());
                ++inputs;
            }
        } else if (std::filesystem::is_regular_file(arg)) {
            RunFile(arg);
            ++inputs;
        } else {
            std::fprintf(stderr, "No such input: %s\n", argv[i]);
            return 2;
        }
    }
    std::fprintf(stderr, "Replayed %d inputs.\n", inputs);
    return inputs > 0 ? 0 : 2;
}
