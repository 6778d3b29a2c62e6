// Turning 10,000 stored 766-byte icons into pictures (IconFromEntry, then drawing at 32 x 32),
// against only copying their bytes, in the same run.
#include "library/IconCodec.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

using namespace pictarium;

namespace {

constexpr int kIcons = 10'000;

// Stored icons as the program writes them: random blocky 32-bit pictures with a mask,
// reduced to the 16-colour form.
const std::vector<Bytes> &storedIcons()
{
    static const std::vector<Bytes> icons = [] {
        std::mt19937 rng(7);
        std::vector<Bytes> out;
        out.reserve(kIcons);
        for (int i = 0; i < kIcons; ++i) {
            Icon icon;
            icon.width = icon.height = 32;
            icon.image = Bitmap(32, 32, rgb(0, 0, 0));
            icon.mask.assign(32 * 32, 1);
            for (int s = 0; s < 3; ++s) {
                const int x0 = static_cast<int>(rng() % 24), y0 = static_cast<int>(rng() % 24);
                const std::uint32_t colour = 0xFF000000u | (static_cast<std::uint32_t>(rng()) & 0xFFFFFF);
                for (int y = y0; y < y0 + 8; ++y)
                    for (int x = x0; x < x0 + 8; ++x) {
                        icon.image.at(x, y) = colour;
                        icon.mask[static_cast<std::size_t>(y * 32 + x)] = 0;
                    }
            }
            out.push_back(*EncodeIconAsIco(icon));
        }
        return out;
    }();
    return icons;
}

void BM_CopyStoredIcons(benchmark::State &state)
{
    const auto &icons = storedIcons();
    Bytes scratch(766);
    for (auto _ : state) {
        for (const auto &ico : icons) {
            std::memcpy(scratch.data(), ico.data(), ico.size());
            benchmark::DoNotOptimize(scratch.data());
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(state.iterations() * kIcons);
}
BENCHMARK(BM_CopyStoredIcons)->Unit(benchmark::kMillisecond);

void BM_IconFromEntry(benchmark::State &state)
{
    const auto &icons = storedIcons();
    for (auto _ : state) {
        for (const auto &ico : icons) {
            auto icon = IconFromEntry(ico);
            benchmark::DoNotOptimize(icon);
        }
    }
    state.SetItemsProcessed(state.iterations() * kIcons);
}
BENCHMARK(BM_IconFromEntry)->Unit(benchmark::kMillisecond);

void BM_IconFromEntryAndDraw(benchmark::State &state)
{
    const auto &icons = storedIcons();
    Bitmap cell(32, 32, rgb(255, 255, 255));
    for (auto _ : state) {
        for (const auto &ico : icons) {
            auto icon = IconFromEntry(ico);
            if (icon)
                drawIcon(cell, 0, 0, *icon);
            benchmark::DoNotOptimize(cell.pixels.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kIcons);
}
BENCHMARK(BM_IconFromEntryAndDraw)->Unit(benchmark::kMillisecond);

} // namespace
