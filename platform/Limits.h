#pragma once
// What the program accepts from outside bytes. A file over a limit is refused clearly instead
// of asking for unbounded memory or recursion.

#include <cstddef>
#include <cstdint>

namespace pictarium {

struct Limits {
    // Deepest title nesting a library may have; tree walks are iterative, this keeps the
    // window's tree control and its recursion-free walks within reason.
    std::size_t maxTreeDepth = 10'000;
    // Largest payload a single block may declare (the format's int32 caps it anyway).
    std::size_t maxBlockBytes = std::size_t{1} << 30;
    // zlib cannot expand by more than about 1032:1; a record claiming more is damaged.
    std::size_t maxInflateRatio = 1032;
    // Largest side of an icon or bitmap image in pixels.
    std::size_t maxImageSide = 65'535;
    // Largest decoded image in pixels (width x height).
    std::size_t maxImagePixels = std::size_t{1} << 26;
    // Largest side of a PNG icon image. Its pixels are allocated before the compressed data
    // is proven, so a few bytes must not claim the general image limit.
    std::size_t maxPngIconSide = 4096;
    // Most icon groups a module may report. Resource directories cap the count at 2 x 65535
    // anyway; this keeps one hostile module from becoming a huge block of empty slots.
    std::size_t maxModuleIcons = 65'535;
    // Longest settings value read back, in bytes: the profile service's read buffer.
    std::size_t maxProfileString = 2047;
};

inline constexpr Limits kLimits{};

} // namespace pictarium
