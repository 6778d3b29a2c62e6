// Reading and writing a library of 2,000 nodes x 50 icons of 766 bytes, against plain zlib
// on the same payloads in the same run.
#include "library/Iconfat.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <zlib.h>

using namespace pictarium;

namespace {

// A 766-byte single-image 32x32 4-bpp ICO whose pixels are blocky shapes, so it compresses
// about as well as a drawn 16-colour icon does.
Bytes pseudoIcon(std::mt19937 &rng)
{
    Bytes ico;
    ByteWriter w(ico);
    w.u16(0), w.u16(1), w.u16(1);
    w.u8(32), w.u8(32), w.u8(16), w.u8(0), w.u16(1), w.u16(4), w.u32(744), w.u32(22);
    w.u32(40), w.u32(32), w.u32(64), w.u16(1), w.u16(4), w.u32(0), w.u32(640), w.zeros(16);
    for (int i = 0; i < 16; ++i)
        w.u32(static_cast<std::uint32_t>(rng()) & 0xc0c0c0);
    const int shapes = 2 + static_cast<int>(rng() % 4);
    std::uint8_t pix[32][32] = {};
    for (int s = 0; s < shapes; ++s) {
        int x0 = rng() % 24, y0 = rng() % 24, x1 = x0 + 4 + rng() % 8, y1 = y0 + 4 + rng() % 8;
        auto c = static_cast<std::uint8_t>(rng() % 16);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                pix[y][x] = c;
    }
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; x += 2)
            w.u8(static_cast<std::uint8_t>(pix[y][x] << 4 | pix[y][x + 1]));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 4; ++x)
            w.u8(pix[y][x * 8] ? 0x00 : 0xff);
    return ico;
}

LibraryTree makeLibrary(int nodes, int iconsPerNode)
{
    std::mt19937 rng(1234);
    std::vector<Bytes> pool;
    for (int i = 0; i < 400; ++i)
        pool.push_back(pseudoIcon(rng));
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
    LibraryTree tree = makeLibrary(2000, 50);
    Bytes file = serializeILF(tree);
    std::vector<Bytes> payloads;
    std::vector<Bytes> streams;
    std::size_t payloadBytes = 0;
    Fixture()
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

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_ReadLibrary(benchmark::State &state)
{
    auto &f = fixture();
    for (auto _ : state) {
        auto r = parseILF(f.file);
        benchmark::DoNotOptimize(r);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.payloadBytes));
}

void BM_PlainUncompress(benchmark::State &state)
{
    auto &f = fixture();
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
    auto &f = fixture();
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
    auto &f = fixture();
    for (auto _ : state) {
        Bytes out = serializeILF(f.tree, static_cast<unsigned>(state.range(0)));
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.payloadBytes));
}

void BM_PlainCompress(benchmark::State &state)
{
    auto &f = fixture();
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

BENCHMARK(BM_ReadLibrary)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainUncompress)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainUncompressKept)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteLibrary)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainCompress)->Unit(benchmark::kMillisecond)->UseRealTime();
