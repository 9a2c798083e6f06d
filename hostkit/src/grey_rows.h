// The significant grey value of any pixel of one greyscale frame, whatever its units.
#pragma once

#include <xelhost/framework_types.h>

#include <xelfw/Image.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace xelhost {

inline constexpr UINT kMaxTableBits = 16;

class GreyRows {
 public:
  // Throws std::invalid_argument for a frame that is not greyscale, has more than 16 significant
  // bits, or a frame index it does not have.
  GreyRows(const Image& image, UINT frame) : m_Image(image), m_Frame(frame) {
    const PixelLayout& layout = image.Layout();
    if (layout.formatClass != XI_IMGFORMAT_CLASS_GREYSCALE || layout.numComponents != 1) {
      throw std::invalid_argument("temperatures need a greyscale image");
    }
    if (layout.imgBPC == 0 || layout.imgBPC > kMaxTableBits) {
      throw std::invalid_argument("temperatures need 1 to 16 significant bits");
    }
    if (frame >= image.Frames()) throw std::invalid_argument("the image has no frame " + std::to_string(frame));
    m_Bytes = layout.memBPC / 8;
    m_Lsb = layout.lsbPos;
    m_Mask = (1u << layout.imgBPC) - 1u;
  }

  UINT operator()(UINT x, UINT y) const {
    const BYTE* unit = m_Image.Data(m_Frame) + y * m_Image.Stride() + std::size_t{x} * m_Bytes;
    UINT value = 0;
    if (m_Bytes == 1) {
      value = *unit;
    } else if (m_Bytes == 2) {
      std::uint16_t v;
      std::memcpy(&v, unit, sizeof v);
      value = v;
    } else {
      std::uint32_t v;
      std::memcpy(&v, unit, sizeof v);
      value = v;
    }
    return (value >> m_Lsb) & m_Mask;
  }

 private:
  const Image& m_Image;
  UINT m_Frame;
  std::size_t m_Bytes = 1;
  UINT m_Lsb = 0;
  UINT m_Mask = 0;
};

}  // namespace xelhost
