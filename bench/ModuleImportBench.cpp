// Importing a module of 500 icon groups (16, 32 and 48 pixel 32-bit images each) against the
// cost of just reading its bytes, and of only locating the chosen images.
#include "bench/ModuleFiles.h"
#include "library/ModuleImport.h"
#include "platform/FileIO.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

using namespace pictarium;

namespace {

constexpr std::size_t kIcons = 500;

// Writes the module once per process; removed at exit.
const std::string &modulePath()
{
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() /
                               ("pictarium-bench-" + std::to_string(::getpid()) + ".dll")).string();
        writeFileAtomically(p, benchmodule::moduleWithIcons(kIcons, 0));
        std::atexit([] { std::filesystem::remove(modulePath()); });
        return p;
    }();
    return path;
}

void BM_ReadModuleBytes(benchmark::State &state)
{
    const std::string &path = modulePath();
    std::size_t bytes = 0;
    for (auto _ : state) {
        Bytes b = readWholeFile(path);
        bytes = b.size();
        benchmark::DoNotOptimize(b.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kIcons));
}
BENCHMARK(BM_ReadModuleBytes)->Unit(benchmark::kMillisecond);

void BM_LocateModuleIcons(benchmark::State &state)
{
    const Bytes file = readWholeFile(modulePath());
    for (auto _ : state) {
        ModuleIcons m{Bytes(file)};
        std::size_t total = 0;
        for (std::size_t i = 0; i < m.count(); ++i)
            total += m.iconImage(i)->size();
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kIcons));
}
BENCHMARK(BM_LocateModuleIcons)->Unit(benchmark::kMillisecond);

void BM_ImportModuleIcons(benchmark::State &state)
{
    const std::string &path = modulePath();
    for (auto _ : state) {
        auto made = ImportModuleIcons(path, true);
        if (!made || made->block.Count() != static_cast<std::int32_t>(kIcons))
            state.SkipWithError("import lost icons");
        benchmark::DoNotOptimize(made);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kIcons));
}
BENCHMARK(BM_ImportModuleIcons)->Unit(benchmark::kMillisecond);

} // namespace
