// Conversions between the framework's pixel units and the plain sample rows of image files.
#pragma once

#include <xelfw/Image.h>
#include <xelhost/framework_types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace xelhost::image_io {

// Layout of a decoded image: greyscale (1 sample) or RGB (3 samples) in 8- or 16-bit units.
PixelLayout DecodedLayout(unsigned samplesPerPixel, unsigned unitBits, unsigned significantBits);

// What a writer needs to know of an image; throws ImageIoError naming the file for what no image
// file of ours can hold (more than 16 significant bits, more than three components).
struct WritableShape {
  unsigned samplesPerPixel;  // 1 grey, 3 RGB
  unsigned significantBits;  // 1..16
  unsigned fileBits;         // 8 or 16
};
WritableShape ShapeForWriting(const Image& image, const std::string& fileName);

// Component values ((unit & mask) >> LSB) of one row, red, green, blue in that order for colour,
// without padding units.
void ReadComponentRow(const Image& image, UINT frame, UINT row, std::vector<std::uint16_t>& samples);

// The row as an 8-bit image file stores it, when the image already holds it that way (8-bit units,
// every bit significant, grey or RGB without padding): writers take it as it is. Null otherwise.
const BYTE* FileSampleRow(const Image& image, UINT frame, UINT row);

}  // namespace xelhost::image_io
