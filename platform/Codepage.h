#pragma once
// The ANSI code page of tree titles. Titles stay bytes in the model; they are converted only
// to show or edit them. GB18030 is GBK for every GBK character and loses nothing for the rest.

#include "Bytes.h"

#include <string>
#include <string_view>

namespace pictarium {

// ANSI bytes to UTF-8. A byte sequence that is not valid becomes U+FFFD, one per byte.
std::string ansiToUtf8(ByteSpan ansi);
// UTF-8 to ANSI bytes. Every Unicode character has a GB18030 form; invalid UTF-8 becomes '?'.
Bytes utf8ToAnsi(std::string_view utf8);

inline Bytes asciiBytes(std::string_view s) { return Bytes(s.begin(), s.end()); }

} // namespace pictarium
