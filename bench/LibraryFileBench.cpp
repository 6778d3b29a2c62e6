// Reading and writing a library of 2,000 nodes x 50 icons of 766 bytes, against plain zlib
// on the same payloads in the same run.
#include "AllocationCounter.h"
#include "bench/RealisticLibrary.h"
#include "library/IconCodec.h"
#include "library/Iconfat.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <zlib.h>

using namespace pictarium;

namespace {

struct Fixture {
    explicit Fixture(int nodes, int icons) : tree(benchlib::makeLibrary(nodes, icons)), file(serializeILF(tree))
    {
        init();
    }
    LibraryTree tree;
    Bytes file;
    std::vector<Bytes> payloads;
    std::vector<Bytes> streams;
    std::size_t payloadBytes = 0;
    void init()
    {
        tree.forEachPreorder([&](const LibraryNode &n) {
            payloads.emplace_back(n.block->payload().begin(), n.block->payload().end());
            payloadBytes += payloads.back().size();
            uLongf len = compressBound(static_cast<uLong>(payloads.back().size()));
            Bytes z(len);
            compress(z.data(), &len, payloads.back().data(), static_cast<uLong>(payloads.back().size()));
            z.resize(len);
            streams.push_back(std::move(z));
        });
    }
};

// Shape 0: 2,000 nodes x 50 icons; shape 1: 100 nodes x 5,000 icons.
Fixture &fixture(std::int64_t shape)
{
    static Fixture wide(2000, 50);
    static Fixture deep(100, 5000);
    return shape == 0 ? wide : deep;
}

void BM_ReadLibrary(benchmark::State &state)
{
    auto &f = fixture(state.range(0));
    std::size_t peak = 0;
    for (auto _ : state) {
        benchalloc::resetPeak();
        const std::size_t before = benchalloc::liveBytes();
        auto r = parseILF(f.file);
        peak = std::max(peak, benchalloc::peakBytes() - before);
        benchmark::DoNotOptimize(r);
    }
    // Peak heap of a read over the uncompressed payload it yields (goal: at most 1.5).
    state.counters["peak_over_payload"] = static_cast<double>(peak) / static_cast<double>(f.payloadBytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.payloadBytes));
}

void BM_PlainUncompress(benchmark::State &state)
{
    auto &f = fixture(state.range(0));
    Bytes out;
    for (auto _ : state) {
        for (std::size_t i = 0; i < f.streams.size(); ++i) {
            out.resize(f.payloads[i].size());
            uLongf len = static_cast<uLongf>(out.size());
            uncompress(out.data(), &len, f.streams[i].data(), static_cast<uLong>(f.streams[i].size()));
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.payloadBytes));
}

// The same, but every payload lands in a buffer of its own that is kept until the pass
// ends, as any reader that holds the library must: the fair floor for reading.
void BM_PlainUncompressKept(benchmark::State &state)
{
    auto &f = fixture(state.range(0));
    for (auto _ : state) {
        std::vector<std::unique_ptr<std::uint8_t[]>> kept(f.streams.size());
        for (std::size_t i = 0; i < f.streams.size(); ++i) {
            kept[i].reset(new std::uint8_t[f.payloads[i].size()]);
            uLongf len = static_cast<uLongf>(f.payloads[i].size());
            uncompress(kept[i].get(), &len, f.streams[i].data(), static_cast<uLong>(f.streams[i].size()));
        }
        benchmark::DoNotOptimize(kept);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.payloadBytes));
}

void BM_WriteLibrary(benchmark::State &state)
{
    auto &f = fixture(state.range(0));
    for (auto _ : state) {
        Bytes out = serializeILF(f.tree, static_cast<unsigned>(state.range(1)));
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.payloadBytes));
}

void BM_PlainCompress(benchmark::State &state)
{
    auto &f = fixture(state.range(0));
    Bytes out;
    for (auto _ : state) {
        for (const auto &p : f.payloads) {
            out.resize(p.size());
            uLongf len = static_cast<uLongf>(out.size());
            compress(out.data(), &len, p.data(), static_cast<uLong>(p.size()));
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.payloadBytes));
}

} // namespace

// First argument: library shape (0: 2,000 x 50, 1: 100 x 5,000); second: writer threads.
BENCHMARK(BM_ReadLibrary)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainUncompress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainUncompressKept)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteLibrary)->Args({0, 1})->Args({0, 2})->Args({1, 1})->Args({1, 2})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainCompress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
