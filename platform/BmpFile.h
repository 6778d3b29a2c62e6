#pragma once
// Bitmap files: the reader behind bitmap import and the writer behind bitmap export.

#include "platform/Bitmap.h"
#include "platform/Bytes.h"
#include "platform/Icon.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace pictarium {

enum class BmpError {
    Invalid,   // "Bitmap image is not valid"
    ReadError, // "Stream read error": the file ends too early
};

// The picture of a bitmap file's bytes. Zero bytes give a 0 x 0 picture. Pixels are opaque.
std::variant<Bitmap, BmpError> decodeBitmapFile(ByteView file);

// The picture of the file at path; throws PlatformError with the message the user sees.
Bitmap readBitmapFile(const std::string &path);

// The icon a bitmap import makes: the picture scaled to S x S (S = 32 when either side is at
// least 32, else 16) with no smoothing, under an all-opaque mask.
Icon iconFromPicture(const Bitmap &picture);

// The export picture: 32 x 32 painted with background (0x00BBGGRR), the icon drawn over it.
Bitmap renderIconOnBackground(const Icon *icon, std::uint32_t backgroundColorRef);

// The 32-bit bitmap file of picture: 14-byte file header, 40-byte info header, 256-entry
// colour table, bottom-up rows.
Bytes encodeBitmapFile(const Bitmap &picture);

// Writes encodeBitmapFile(picture) to path atomically; throws "Cannot create file %s".
void writeBitmapFile(const std::string &path, const Bitmap &picture);

} // namespace pictarium
