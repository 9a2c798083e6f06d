// Sample rows of image files from and to the framework's pixel units.
#include "image_io/pixel_rows.h"

#include <xelhost/image_io.h>

#include <bit>
#include <cstring>

// Readers and writers move 16-bit samples between the file's byte order and the image's units, which
// the framework keeps in host order; the conversions are written for a little-endian host.
static_assert(std::endian::native == std::endian::little);

namespace xelhost::image_io {

PixelLayout DecodedLayout(unsigned samplesPerPixel, unsigned unitBits, unsigned significantBits) {
  if (samplesPerPixel == 1) return PixelLayout::Grey(significantBits, unitBits);
  return PixelLayout::Colour(unitBits, 3, XI_ORDER_RGB, significantBits);
}

WritableShape ShapeForWriting(const Image& image, const std::string& fileName) {
  const PixelLayout& layout = image.Layout();
  if (layout.numComponents != 1 && layout.numComponents != 3) {
    throw ImageIoError(fileName + ": only greyscale and three-component images can be written");
  }
  if (layout.imgBPC > 16) {
    throw ImageIoError(fileName + ": " + std::to_string(layout.imgBPC) +
                       " significant bits per component do not fit an image file (at most 16)");
  }
  return WritableShape{layout.numComponents, layout.imgBPC, layout.imgBPC <= 8 ? 8u : 16u};
}

void ReadComponentRow(const Image& image, UINT frame, UINT row, std::vector<std::uint16_t>& samples) {
  const PixelLayout& layout = image.Layout();
  const UINT mask = image.GetComponentMask();
  const std::size_t unitBytes = layout.memBPC / 8;
  const std::size_t pixelBytes = layout.BytesPerPixel();
  const BYTE* rowStart = image.Data(frame) + row * image.Stride();
  UINT unitOf[3];
  for (UINT c = 0; c < layout.numComponents; ++c) unitOf[c] = image.GetComponentPos(c);

  samples.resize(std::size_t{image.Width()} * layout.numComponents);
  std::size_t out = 0;
  for (UINT x = 0; x < image.Width(); ++x) {
    const BYTE* pixel = rowStart + x * pixelBytes;
    for (UINT c = 0; c < layout.numComponents; ++c) {
      std::uint32_t unit = 0;
      // Units are stored in host order, so copying their bytes into the low end of a word reads them.
      std::memcpy(&unit, pixel + unitOf[c] * unitBytes, unitBytes);
      samples[out++] = static_cast<std::uint16_t>((unit & mask) >> layout.lsbPos);
    }
  }
}

const BYTE* FileSampleRow(const Image& image, UINT frame, UINT row) {
  const PixelLayout& layout = image.Layout();
  const bool plain = layout.memBPC == 8 && layout.imgBPC == 8 && layout.lsbPos == 0 &&
                     layout.unitsPerPixel == layout.numComponents &&
                     (layout.numComponents == 1 || layout.order == XI_ORDER_RGB);
  return plain ? image.Data(frame) + row * image.Stride() : nullptr;
}

}  // namespace xelhost::image_io
