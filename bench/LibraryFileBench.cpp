// Reading and writing a library of 2,000 nodes x 50 icons of 766 bytes, against plain zlib
// on the same payloads in the same run.
#include "AllocationCounter.h"
#include "library/IconCodec.h"
#include "library/Iconfat.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <zlib.h>

using namespace pictarium;

namespace {

// A 16-colour icon made by the program's own encoder from a varied picture (gradients,
// shapes, a transparent border), so the library compresses like a real collection.
Bytes realisticIcon(std::mt19937 &rng)
{
    Icon icon;
    icon.width = icon.height = 32;
    icon.image = Bitmap(32, 32);
    icon.mask.assign(32 * 32, 0);
    const unsigned style = rng() % 3;
    const std::uint32_t a = rng() & 0xffffff, b = rng() & 0xffffff;
    const int cx = 8 + static_cast<int>(rng() % 16), cy = 8 + static_cast<int>(rng() % 16);
    const int r = 5 + static_cast<int>(rng() % 10);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            std::uint32_t c;
            const int dx = x - cx, dy = y - cy;
            if (style == 0)
                c = (dx * dx + dy * dy < r * r) ? a : b;
            else if (style == 1)
                c = ((x / 4 + y / 4) % 2) ? a : (b + static_cast<std::uint32_t>(y) * 0x060402u);
            else
                c = a + static_cast<std::uint32_t>(x * 7) * 0x010101u + (rng() % 16 == 0 ? 0x404040u : 0);
            icon.image.at(x, y) = 0xff000000u | (c & 0xffffff);
            icon.mask[static_cast<std::size_t>(y * 32 + x)] = (x < 2 || y < 2 || x > 29 || y > 29) ? 1 : 0;
        }
    }
    return *EncodeIconAsIco(icon);
}

LibraryTree makeLibrary(int nodes, int iconsPerNode)
{
    std::mt19937 rng(1234);
    std::vector<Bytes> pool;
    for (int i = 0; i < 400; ++i)
        pool.push_back(realisticIcon(rng));
    LibraryTree tree;
    for (int n = 0; n < nodes; ++n) {
        LibraryNode *node = tree.add(nullptr, Bytes{'n', static_cast<std::uint8_t>('0' + n % 10)});
        std::vector<ByteSpan> images;
        for (int i = 0; i < iconsPerNode; ++i)
            images.push_back(pool[rng() % pool.size()]);
        node->block = TIconBlock::fromImages(images);
    }
    return tree;
}

struct Fixture {
    explicit Fixture(int nodes, int icons) : tree(makeLibrary(nodes, icons)), file(serializeILF(tree))
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
