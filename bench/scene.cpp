#include "scene.h"

#include <algorithm>
#include <cmath>

namespace bench {

xelfw::Image MakeThermalScene(UINT width, UINT height) {
  xelfw::Image image(width, height, xelfw::PixelLayout::Grey(16, 16));
  struct Spot {
    double x, y, radius, heat;
  };
  const Spot spots[] = {{0.3, 0.4, 0.08, 0.55}, {0.7, 0.6, 0.05, 0.7}, {0.5, 0.2, 0.12, 0.35}};
  for (UINT y = 0; y < height; ++y) {
    for (UINT x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / width;
      const double v = static_cast<double>(y) / height;
      double t = 0.15 + 0.25 * v;
      for (const Spot& s : spots) {
        const double d2 = ((u - s.x) * (u - s.x) + (v - s.y) * (v - s.y)) / (s.radius * s.radius);
        t += s.heat * std::exp(-d2);
      }
      image.SetComponent(x, y, 0, static_cast<UINT>(std::clamp(t, 0.0, 1.0) * 65535.0));
    }
  }
  return image;
}

}  // namespace bench
