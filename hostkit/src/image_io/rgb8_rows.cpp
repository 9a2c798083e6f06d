// 8-bit RGB rows: taken as they are when the picture holds them so, else widened from grey and
// scaled up from fewer significant bits.
#include "image_io/rgb8_rows.h"
#include "image_io/pixel_rows.h"

#include <xelhost/image_io.h>

#include <algorithm>

namespace xelhost::image_io {

Rgb8Rows::Rgb8Rows(const Image& image, UINT frame, const std::string& fileName, const std::string& format)
    : m_Image(image), m_Frame(frame) {
  const WritableShape shape = ShapeForWriting(image, fileName);
  if (shape.significantBits > 8) {
    throw ImageIoError(fileName + ": " + format + " holds 8 bits a component, the picture has " +
                       std::to_string(shape.significantBits) + " (write it with 8 bits, or as PNG or TIFF)");
  }
}

const BYTE* Rgb8Rows::Row(UINT y) {
  const BYTE* plain = FileSampleRow(m_Image, m_Frame, y);
  if (plain != nullptr && m_Image.Layout().numComponents == 3) return plain;
  ReadComponentRow(m_Image, m_Frame, y, m_Samples);
  const unsigned shift = 8 - m_Image.Layout().imgBPC;
  const std::size_t components = m_Image.Layout().numComponents;
  m_Row.resize(std::size_t{m_Image.Width()} * 3);
  for (std::size_t x = 0; x < m_Image.Width(); ++x) {
    for (std::size_t c = 0; c < 3; ++c) {
      m_Row[3 * x + c] = static_cast<BYTE>(m_Samples[x * components + (components == 3 ? c : 0)] << shift);
    }
  }
  return m_Row.data();
}

std::vector<BYTE> PackedRgb8(const Image& image, UINT frame, const std::string& fileName, const std::string& format) {
  Rgb8Rows rows(image, frame, fileName, format);
  const std::size_t rowBytes = std::size_t{image.Width()} * 3;
  std::vector<BYTE> packed(rowBytes * image.Height());
  for (UINT y = 0; y < image.Height(); ++y) std::copy_n(rows.Row(y), rowBytes, packed.begin() + y * rowBytes);
  return packed;
}

}  // namespace xelhost::image_io
