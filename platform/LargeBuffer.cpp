#include "LargeBuffer.h"

#include <cstdint>
#include <sys/mman.h>

namespace pictarium {

namespace {
constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
// A smaller buffer cannot hold a whole aligned huge page.
constexpr std::size_t kAdviseFrom = 2u << 20;
} // namespace

void adviseLarge(void *data, std::size_t length)
{
    if (length < kAdviseFrom)
        return;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + length) & ~(kHugePage - 1);
#ifdef MADV_HUGEPAGE
    // Advice only: where huge pages are off or unavailable this fails and nothing changes.
    if (last > first)
        ::madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
#endif
}

void reserveLarge(Bytes &b, std::size_t n)
{
    b.reserve(n);
    // Only the part not yet filled can still be backed differently.
    adviseLarge(b.data() + b.size(), b.capacity() - b.size());
}

Bytes largeBuffer(std::size_t n)
{
    Bytes b;
    reserveLarge(b, n);
    b.resize(n);
    return b;
}

} // namespace pictarium
