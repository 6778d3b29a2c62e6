// Bulk work through the window, against the same work without it:
// - opening the program on a 100 MB library (window made, file read, tree shown, first paint)
//   against loading that file alone;
// - importing 200 modules of 50 icons in one command (progress dialog, one node per module)
//   against importing the same modules one by one without the window.
#include "app/MainForm.h"
#include "bench/ModuleFiles.h"
#include "bench/QtBench.h"
#include "bench/RealisticLibrary.h"
#include "library/Iconfat.h"
#include "library/ModuleImport.h"
#include "platform/FileIO.h"
#include "support/ScriptedUi.h"

#include <QTreeView>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

using namespace pictarium;

namespace {

constexpr std::size_t kLibraryBytes = 100u << 20;
constexpr std::size_t kModules = 200;
constexpr std::size_t kIconsPerModule = 50;

// A scratch folder for this process's files, removed at exit.
const std::filesystem::path &scratch()
{
    static const std::filesystem::path dir = [] {
        const auto d = std::filesystem::temp_directory_path() / ("pictarium-bench-" + std::to_string(::getpid()) + "-window");
        std::filesystem::create_directories(d);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(scratch(), ec);
        });
        return d;
    }();
    return dir;
}

// A library file of at least 100 MB, made of 50-icon nodes of realistic icons.
const std::string &bigLibrary()
{
    static const std::string path = [] {
        // Measure what a node costs on disk, then make enough of them.
        const std::size_t sample = 200;
        const std::size_t perNode = serializeILF(benchlib::makeLibrary(static_cast<int>(sample), 50)).size() / sample;
        const auto nodes = static_cast<int>(kLibraryBytes / perNode + 1);
        const std::string p = (scratch() / "big.ilf").string();
        saveILF(p, benchlib::makeLibrary(nodes, 50));
        return p;
    }();
    return path;
}

void BM_LoadLibraryFile(benchmark::State &state)
{
    const std::string &path = bigLibrary();
    std::size_t fileBytes = 0;
    for (auto _ : state) {
        auto r = loadILF(path);
        if (!std::holds_alternative<IlfContents>(r))
            state.SkipWithError("the library does not read");
        fileBytes = static_cast<std::size_t>(std::filesystem::file_size(path));
        benchmark::DoNotOptimize(r);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fileBytes));
}
// Three runs each, median reported: on this machine single runs of both vary up to 2x.
BENCHMARK(BM_LoadLibraryFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(3)->ReportAggregatesOnly(true);

void BM_OpenProgramWithLibrary(benchmark::State &state)
{
    benchApplication();
    const std::string &path = bigLibrary();
    for (auto _ : state) {
        auto form = std::make_unique<TMainForm>();
        form->FormCreate({path});
        form->resize(594, 415);
        form->show();
        QApplication::processEvents();
        form->repaint();
        state.PauseTiming();
        if (form->FFileName != path || form->tree().empty())
            state.SkipWithError("the library was not opened");
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenProgramWithLibrary)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(3)->ReportAggregatesOnly(true);

const std::vector<std::string> &modules()
{
    static const std::vector<std::string> paths = [] {
        std::vector<std::string> p;
        for (std::size_t i = 0; i < kModules; ++i) {
            p.push_back((scratch() / ("m" + std::to_string(i) + ".dll")).string());
            writeFileAtomically(p.back(), benchmodule::moduleWithIcons(kIconsPerModule, static_cast<std::uint32_t>(i)));
        }
        return p;
    }();
    return paths;
}

void BM_ImportModulesOneByOne(benchmark::State &state)
{
    const auto &paths = modules();
    for (auto _ : state) {
        std::size_t icons = 0;
        for (const auto &p : paths) {
            auto made = ImportModuleIcons(p, false);
            icons += made ? static_cast<std::size_t>(made->block.Count()) : 0;
            benchmark::DoNotOptimize(made);
        }
        if (icons != kModules * kIconsPerModule)
            state.SkipWithError("import lost icons");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kModules * kIconsPerModule));
}
BENCHMARK(BM_ImportModulesOneByOne)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportModulesInOneCommand(benchmark::State &state)
{
    benchApplication();
    const auto &paths = modules();
    auto dialogs = std::make_shared<scripted::Dialogs>();
    TMainForm form(UiServices{std::make_shared<scripted::Prompt>(), dialogs});
    form.FormCreate({});
    form.resize(594, 415);
    form.show();
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        form.FModified = false; // no question before New
        form.CreatNewILFFileExecute();
        form.FModified = false;
        dialogs->fileAnswers.push_back(paths);
        state.ResumeTiming();
        form.ImportExeDllFileExecute();
        QApplication::processEvents();
    }
    if (form.FIconTotal != static_cast<std::int32_t>(kModules * kIconsPerModule) || form.tree().count() != kModules)
        state.SkipWithError("the command lost icons or modules");
    form.FModified = false;
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kModules * kIconsPerModule));
}
BENCHMARK(BM_ImportModulesInOneCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
