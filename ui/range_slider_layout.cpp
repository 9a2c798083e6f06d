#include "ui/range_slider_layout.h"

#include <algorithm>

namespace range_slider {
namespace {

// trunc(x) as a 32-bit integer; values far off the scale (SetRange does not clamp) and the NaN of an
// empty scale must not make the conversion undefined.
int TruncToPixel(double x) {
  if (!(x == x)) return 0;
  return static_cast<int>(std::clamp(x, -1.0e9, 1.0e9));
}

// Where `value` lies on the scale, 0..1 inside it; an empty scale puts everything at its start.
double Fraction(double value, double min, double max) { return max == min ? 0.0 : (value - min) / (max - min); }

}  // namespace

double Layout::ValuePerPixel(double min, double max) const { return track > 0 ? (max - min) / track : 0.0; }

Layout Compute(const CRect& client, bool horizontal, double min, double max, double left, double right) {
  Layout layout{};
  layout.horizontal = horizontal;
  layout.w = client.Width();
  layout.h = client.Height();
  layout.across = horizontal ? layout.h : layout.w;
  layout.a = (3 * layout.across) / 4;
  layout.track = (horizontal ? layout.w : layout.h) - 2 * layout.a;
  layout.p1 = TruncToPixel(Fraction(left, min, max) * layout.track + 0.5);
  layout.p2 = TruncToPixel(0.5 + layout.track * Fraction(right, min, max));
  return layout;
}

}  // namespace range_slider
