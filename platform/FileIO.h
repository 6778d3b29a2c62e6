#pragma once
// Whole-file reads and safe whole-file writes.

#include "Bytes.h"

#include <string>

namespace pictarium {

bool fileExists(const std::string &path);

// The whole file; throws PlatformError "Cannot open file %s" when it cannot be read.
Bytes readWholeFile(const std::string &path);

// Replaces the file at path with data without ever leaving a partial file there: the bytes
// go to a temporary file in the same folder, are flushed, and the temporary file is renamed
// over the target (keeping an existing target's permissions). On failure the target is
// untouched, the temporary file is removed, and PlatformError "Cannot create file %s" (or a
// write error naming the file) is thrown.
void writeFileAtomically(const std::string &path, ByteSpan data);

} // namespace pictarium

namespace pictarium {

// The steps of writeFileAtomically, for tests that make each one fail.
enum class WriteStep { Create, Write, Flush, Rename };
// When set, called before each step; answering true makes that step fail as the system would
// (a failed Write has written half of the remaining bytes first, as a full disk does).
using WriteFaultHook = bool (*)(WriteStep);
void setWriteFaultHook(WriteFaultHook hook);

} // namespace pictarium
