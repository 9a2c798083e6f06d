// The frames every benchmark works on: a 16-bit thermal-like scene at the two sizes of interest.
#pragma once

#include <xelfw/Image.h>

#include <cstddef>

namespace bench {

struct FrameSize {
  UINT width;
  UINT height;
};
inline constexpr FrameSize kFrameSizes[] = {{640, 512}, {1920, 1080}};

// A gradient with a few hot spots, all 16 bits significant: smooth like a real sensor frame, so
// table reads have the locality they have in use.
xelfw::Image MakeThermalScene(UINT width, UINT height);

// Bytes a 16-bit grey to colour conversion reads and writes per pixel.
inline std::size_t BytesMoved(UINT width, UINT height, UINT dstBytesPerPixel) {
  return std::size_t{width} * height * (2 + dstBytesPerPixel);
}

}  // namespace bench
