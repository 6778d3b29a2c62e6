// Selecting a node in the main window until its icon view is laid out and painted: a node of
// 10 icons against one of 100,000. The view decodes only what it shows, so both should cost
// about the same.
#include "app/IconListModel.h"
#include "app/LibraryTreeModel.h"
#include "app/MainForm.h"
#include "bench/QtBench.h"
#include "bench/RealisticLibrary.h"
#include "platform/Codepage.h"

#include <QApplication>
#include <QListView>
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

namespace {

// firstVisit: the node's block is new to the view each time (its entry offsets are walked);
// otherwise the view has seen the block before.
void selectNode(benchmark::State &state, bool firstVisit)
{
    benchApplication();
    const auto icons = static_cast<std::size_t>(state.range(0));

    pictarium::TMainForm form;
    form.FormCreate({});
    auto &model = form.treeModel();
    auto *empty = model.add(nullptr, pictarium::asciiBytes("empty"));
    auto *full = model.add(nullptr, pictarium::asciiBytes("full"));
    model.setBlock(full, benchlib::blockOfSmallIcons(icons));
    form.resize(594, 415);
    form.show();
    QApplication::processEvents();

    for (auto _ : state) {
        state.PauseTiming();
        form.selectNode(empty);
        if (firstVisit) {
            std::optional<pictarium::TIconBlock> block = std::move(full->block);
            model.setBlock(full, std::move(block));
        }
        QApplication::processEvents();
        state.ResumeTiming();
        form.selectNode(full);
        form.ListView1->doItemsLayout();
        form.ListView1->viewport()->repaint();
    }
    if (form.iconModel().rowCount() != static_cast<int>(icons))
        state.SkipWithError("the view does not show the node");
    form.FModified = false;
}

void BM_SelectNode(benchmark::State &state) { selectNode(state, false); }
void BM_SelectNodeFirstVisit(benchmark::State &state) { selectNode(state, true); }

BENCHMARK(BM_SelectNode)->Arg(10)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectNodeFirstVisit)->Arg(10)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace
