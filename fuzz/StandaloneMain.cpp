// Runs a fuzz target over files without libFuzzer: every file named, and every file inside
// every folder named (a missing folder is fine: a target may have no past crash inputs).
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace fs = std::filesystem;

static void runFile(const fs::path &p, std::size_t &count)
{
    std::ifstream in(p, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++count;
}

int main(int argc, char **argv)
{
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path p = argv[i];
        if (fs::is_directory(p)) {
            for (const auto &e : fs::recursive_directory_iterator(p))
                if (e.is_regular_file())
                    runFile(e.path(), count);
        } else if (fs::exists(p)) {
            runFile(p, count);
        }
    }
    std::printf("ran %zu inputs\n", count);
    return 0;
}
