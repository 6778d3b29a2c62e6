#pragma once
// Live and peak bytes of C++ heap allocations in this process, for memory figures.

#include <cstddef>

namespace benchalloc {

std::size_t liveBytes();
// Starts a new peak measurement from the current live bytes.
void resetPeak();
std::size_t peakBytes();

} // namespace benchalloc
