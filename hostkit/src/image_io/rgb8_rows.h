// Rows of 8-bit RGB, as JPEG, WebP and video encoders take them, from any picture those formats can
// hold: greyscale or RGB with at most 8 significant bits.
#pragma once

#include <xelfw/Image.h>
#include <xelhost/framework_types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace xelhost::image_io {

class Rgb8Rows {
 public:
  // Throws ImageIoError naming the file when the picture holds more than 8 significant bits (the
  // format, such as "a JPEG", says what cannot hold them).
  Rgb8Rows(const Image& image, UINT frame, const std::string& fileName, const std::string& format);

  // Width × 3 bytes, red first; valid until the next call.
  const BYTE* Row(UINT y);

 private:
  const Image& m_Image;
  UINT m_Frame;
  std::vector<std::uint16_t> m_Samples;
  std::vector<BYTE> m_Row;
};

// The frame's rows one after the other, width × 3 bytes each, for encoders that take a whole picture.
std::vector<BYTE> PackedRgb8(const Image& image, UINT frame, const std::string& fileName, const std::string& format);

}  // namespace xelhost::image_io
