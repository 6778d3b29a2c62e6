#pragma once
// Multi-file runs report each file before working on it, so a caller can show progress and
// stop the run between files.

#include <cstddef>
#include <functional>
#include <string>

namespace pictarium {

// Called with the file's place in the run and its path; answering false stops the run before
// that file. An empty FileStep lets every file go.
using FileStep = std::function<bool(std::size_t index, const std::string &path)>;

} // namespace pictarium
