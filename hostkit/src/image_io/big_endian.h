// PNG's lengths, sizes and CRCs: 32-bit numbers, most significant byte first.
#pragma once

#include <xelhost/framework_types.h>

#include <cstdint>

namespace xelhost::image_io {

inline std::uint32_t BigEndian32(const BYTE* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 | std::uint32_t{bytes[2]} << 8 | bytes[3];
}

}  // namespace xelhost::image_io
