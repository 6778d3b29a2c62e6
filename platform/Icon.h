#pragma once
// The icon object standing in for an icon handle: a colour image (absent for a monochrome
// icon), an AND mask, and whether the colour image carries alpha.

#include "platform/Bitmap.h"
#include "platform/Bytes.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace pictarium {

struct Icon {
    int width = 0;
    int height = 0;
    // What is XORed over the masked destination. For a colour icon this is the colour image;
    // for a monochrome icon it holds the XOR bits as black and white pixels.
    Bitmap image;
    // width x height, top row first; 1 = transparent.
    std::vector<std::uint8_t> mask;
    bool monochrome = false;
    bool hasAlpha = false;

    // The colour image, or nothing for a monochrome icon.
    [[nodiscard]] const Bitmap *color() const { return monochrome ? nullptr : &image; }
};

// An icon from one icon image (a DIB with its AND mask, or a PNG). cxDesired/cyDesired 0
// mean the image's own size; another size scales the icon as the platform does by default.
std::optional<Icon> createIconFromResource(ByteSpan image, int cxDesired, int cyDesired);

// The icon at another size: enlarging samples pixel centres, shrinking ANDs each group.
Icon scaleIcon(const Icon &icon, int width, int height);

inline constexpr int kSystemIconSize = 32;

// Draws the icon at (x, y) at the system icon size (32 x 32): the mask ANDed and the image
// XORed, or for alpha icons a source-over blend. Other sizes are scaled by delete scans
// (nearest pixel; when shrinking the last column and the first row of each group). Pixels
// outside target are skipped.
void drawIcon(Bitmap &target, int x, int y, const Icon &icon);

// The same at a cx x cy cell, as an image list of that cell size draws it.
void drawIconSized(Bitmap &target, int x, int y, const Icon &icon, int cx, int cy);

// The icon at side x side as a straight-alpha picture for a toolkit that blends: alpha icons
// keep their alpha; otherwise mask 0 is opaque colour, mask 1 over black is transparent, and
// an inverting pixel (mask 1, colour not black) shows as it inverts white.
Bitmap iconPicture(const Icon &icon, int side);


// The icon read back as a 16-colour device-independent image.
struct IconBits4 {
    int width = 0;
    int height = 0;
    Bytes colorBits; // bottom-up 4-bit rows, nearest VGA colour indices
    Bytes maskBits;  // bottom-up 1-bit rows, the mask bit for bit
};
// Nothing for a monochrome icon (it has no colour image to read).
std::optional<IconBits4> readIconBits4(const Icon &icon);

} // namespace pictarium
