// The pixels a line profile samples: Bresenham's line between two pixels.
#pragma once

#include <xelhost/framework_types.h>

#include <vector>

namespace xelhost {

struct LinePixel {
  long x = 0;
  long y = 0;
};

// The pixels Bresenham's line from pixel (x1, y1) to pixel (x2, y2) visits, both ends included, in
// order from the first. Where the ideal line passes exactly midway between two pixels, the step is
// diagonal (the all-octant form with one error term for both axes).
XEL_HOST_API std::vector<LinePixel> LinePixels(long x1, long y1, long x2, long y2);

}  // namespace xelhost
