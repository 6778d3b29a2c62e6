#pragma once
// Getting stored icons out: each exported ".ico" file is an entry's bytes unchanged, and the
// bitmap export paints an entry's icon over a background at the system icon size.

#include "library/FileStep.h"
#include "library/IconBlock.h"
#include "platform/Bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pictarium {

// The export base for a chosen file name: the file-name part cut before its first '.', the
// folder part kept whole ("/out/my.star.ico" -> "/out/my").
std::string exportBase(const std::string &chosen);

// base + index formatted as "%04d" + ".ico" ("0000", "0012", "10000").
std::string numberedIconFileName(const std::string &base, std::int32_t index);

// Writes the image bytes to path atomically; throws PlatformError "Cannot create file %s".
void WriteIconFile(ByteSpan image, const std::string &path);

// Writes every non-empty entry i of the block to numberedIconFileName(base, i), in order, and
// answers the paths written. The first file that cannot be written throws; the files written
// before it stay. step (given the entry index) can stop the run between files.
std::vector<std::string> ExportAllIcons(const TIconBlock &block, const std::string &base,
                                        const FileStep &step = {});

// The picture SaveAsBmpFile writes for an entry's image: 32 x 32, background 0x00BBGGRR where
// the icon is transparent, only background when the bytes make no icon.
Bitmap renderEntry(ByteSpan image, std::uint32_t backgroundColorRef);
// Writes renderEntry as a bitmap file to path; throws PlatformError "Cannot create file %s".
void SaveAsBmpFile(ByteSpan image, std::uint32_t backgroundColorRef, const std::string &path);

} // namespace pictarium
