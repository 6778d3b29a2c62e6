#pragma once
// The library file (".ILF"): a 44-byte header, the title tree as text lines, one record per
// node. See README "Library file format" for what the reader tolerates and what it rejects.

#include "library/LibraryTree.h"
#include "platform/Bytes.h"

#include <array>
#include <cstdint>
#include <string>
#include <variant>

namespace pictarium {

inline constexpr std::size_t kILFHeaderSize = 44;

struct TILFHeader {
    std::array<std::uint8_t, 3> Signature{};
    std::uint8_t Version = 0;
    std::uint8_t VersionSuffix = 0;
    std::int32_t TextOffset = 0;
    std::int32_t TextEnd = 0;
    std::int32_t RecordOffset = 0;
    std::int32_t FileSize = 0;

    // The first 44 bytes of a file; nothing when there are fewer.
    static std::optional<TILFHeader> read(ByteView file);
    void write(ByteWriter &out) const;
};

bool IsILFMagic(const TILFHeader &header);
void SetILFMagic(TILFHeader &header);

// The part of a path after its last '/' or '\', up to (not including) its first '.'.
std::string ExtractBaseName(const std::string &path);

// A library read from bytes, not yet the document's.
struct IlfContents {
    LibraryTree tree;
    std::int32_t iconTotal = 0;
    char version = '2';
};

// The file was refused whole ("File Error!!"); `reason` says why, for tools and tests.
struct IlfRejected {
    std::string reason;
};

// A title line nested two or more levels below the line before it.
struct IlfInvalidLevel {
    int level = 0;
    Bytes title;
    // "Invalid level (%d) for item "%s"" with the title shown in UTF-8.
    [[nodiscard]] std::string message() const;
};

using IlfReadResult = std::variant<IlfContents, IlfRejected, IlfInvalidLevel>;

// Parses a whole library file. Nothing outside `file` is read; the result is complete or an
// error, never a partial tree.
IlfReadResult parseILF(ByteSpan file);

// Every problem of a library file, one line each: a rejection, a bad title level, or a
// record the reader could only partly load. Empty when the file is sound.
std::vector<std::string> checkILF(ByteSpan file);

// The bytes of a library file for the tree. Records are compressed on up to `threads`
// threads (0: one per core); the bytes do not depend on the thread count.
Bytes serializeILF(const LibraryTree &tree, unsigned threads = 0);

// No file at the path: the caller stays silent.
struct IlfMissing {};

using IlfLoadResult = std::variant<IlfContents, IlfMissing, IlfRejected, IlfInvalidLevel>;

// Reads the library at path. A file that exists but cannot be read throws PlatformError
// "Cannot open file %s".
IlfLoadResult loadILF(const std::string &path);

// Writes the library to path safely (the old file stays whole on any failure) and answers
// the number of bytes written. Throws PlatformError on failure.
std::size_t saveILF(const std::string &path, const LibraryTree &tree, unsigned threads = 0);

} // namespace pictarium
