// Deleting, cutting and dragging to another node half of the icons of a node of 1,000 to
// 100,000 entries, through the window's commands. Each is one pass over the block (plus the
// view's rebuild), so the time should grow linearly with the entry count.
#include "app/IconListModel.h"
#include "app/LibraryTreeModel.h"
#include "app/MainForm.h"
#include "bench/QtBench.h"
#include "bench/RealisticLibrary.h"
#include "platform/Codepage.h"

#include <QCursor>
#include <QItemSelectionModel>
#include <QListView>
#include <QTreeView>
#include <benchmark/benchmark.h>

namespace {

using pictarium::TMainForm;

enum class Op { Delete, Cut, Move };

void runHalf(benchmark::State &state, Op op)
{
    benchApplication();
    const auto entries = static_cast<std::size_t>(state.range(0));
    const pictarium::TIconBlock full = benchlib::blockOfSmallIcons(entries);

    TMainForm form;
    form.FormCreate({});
    auto &model = form.treeModel();
    auto *source = model.add(nullptr, pictarium::asciiBytes("source"));
    auto *target = model.add(nullptr, pictarium::asciiBytes("target"));
    form.resize(594, 415);
    form.show();
    QApplication::processEvents();
    const QPoint overTarget =
        form.TreeView->viewport()->mapToGlobal(form.TreeView->visualRect(model.indexOf(target)).center());

    for (auto _ : state) {
        state.PauseTiming();
        model.setBlock(source, full);
        model.setBlock(target, std::nullopt);
        form.selectNode(target);
        form.selectNode(source);
        auto &icons = form.iconModel();
        form.ListView1->selectionModel()->select(
            QItemSelection(icons.index(0), icons.index(static_cast<int>(entries / 2) - 1)),
            QItemSelectionModel::ClearAndSelect);
        QCursor::setPos(overTarget);
        state.ResumeTiming();
        switch (op) {
        case Op::Delete: form.DelSelectedIconsExecute(); break;
        case Op::Cut: form.CutIconsExecute(); break;
        case Op::Move: form.TreeViewDragDrop(form.ListView1); break;
        }
    }
    const auto left = static_cast<std::int32_t>(entries - entries / 2);
    if (source->iconCount() != left)
        state.SkipWithError("the source node did not lose half of its icons");
    if (op == Op::Move && target->iconCount() != static_cast<std::int32_t>(entries / 2))
        state.SkipWithError("the target node did not get the icons");
    state.SetComplexityN(state.range(0));
    form.FModified = false;
}

void BM_DeleteHalfOfNode(benchmark::State &state) { runHalf(state, Op::Delete); }
void BM_CutHalfOfNode(benchmark::State &state) { runHalf(state, Op::Cut); }
void BM_DragHalfOfNodeToAnother(benchmark::State &state) { runHalf(state, Op::Move); }

BENCHMARK(BM_DeleteHalfOfNode)->RangeMultiplier(10)->Range(1'000, 100'000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CutHalfOfNode)->RangeMultiplier(10)->Range(1'000, 100'000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragHalfOfNodeToAnother)->RangeMultiplier(10)->Range(1'000, 100'000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

} // namespace
