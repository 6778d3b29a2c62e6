#pragma once
// Room for large byte buffers. A library of many icons moves tens of megabytes at a time
// (reading, writing, cutting half of a node), and filling fresh memory costs the kernel one
// page fault per 4 KiB; backing large buffers with huge pages where the system allows it
// makes that one fault per 2 MiB. Contents and sizes are as with plain reserve().

#include "Bytes.h"

#include <cstddef>

namespace pictarium {

// b.reserve(n), with the buffer's whole 2 MiB pages marked for huge-page backing when it is
// large. Call it before filling the buffer: the advice only affects pages not yet touched.
void reserveLarge(Bytes &b, std::size_t n);

// A buffer of n zero bytes, made through reserveLarge.
Bytes largeBuffer(std::size_t n);

// The same advice for a buffer of another kind (a Qt byte array, say), just allocated and
// not yet filled.
void adviseLarge(void *data, std::size_t length);

} // namespace pictarium
