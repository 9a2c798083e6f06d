// Bresenham's line, one error term for both axes, so every octant takes the same loop.
#include <xelhost/pixel_line.h>

#include <cstdlib>

namespace xelhost {

std::vector<LinePixel> LinePixels(long x1, long y1, long x2, long y2) {
  const long dx = std::labs(x2 - x1);
  const long dy = -std::labs(y2 - y1);
  const long stepX = x1 < x2 ? 1 : -1;
  const long stepY = y1 < y2 ? 1 : -1;
  std::vector<LinePixel> pixels;
  pixels.reserve(static_cast<std::size_t>(dx > -dy ? dx : -dy) + 1);
  long error = dx + dy;
  for (long x = x1, y = y1;;) {
    pixels.push_back({x, y});
    if (x == x2 && y == y2) break;
    const long twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += stepX;
    }
    if (twice <= dx) {
      error += dx;
      y += stepY;
    }
  }
  return pixels;
}

}  // namespace xelhost
