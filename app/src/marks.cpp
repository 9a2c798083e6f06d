// Marks drawn unit by unit, so a 16-bit picture keeps its depth.
#include "marks.h"

#include "area_option.h"

namespace xelimg {

namespace {

constexpr int kCrossGap = 2;  // the hottest pixel and its neighbours stay visible
constexpr int kCrossArm = 4;

class Pen {
 public:
  explicit Pen(xelfw::Image& picture) : m_Picture(picture), m_Full((1u << picture.Layout().imgBPC) - 1) {}
  void Dot(long x, long y) const {
    if (x < 0 || y < 0 || x >= static_cast<long>(m_Picture.Width()) || y >= static_cast<long>(m_Picture.Height())) return;
    for (UINT c = 0; c < 3; ++c) m_Picture.SetComponent(static_cast<UINT>(x), static_cast<UINT>(y), c, m_Full);
  }

 private:
  xelfw::Image& m_Picture;
  UINT m_Full;
};

void Outline(const Pen& pen, const xelfw::MeasurementArea& area) {
  const long left = area.left, top = area.top;
  const long right = left + static_cast<long>(area.width) - 1, bottom = top + static_cast<long>(area.height) - 1;
  for (long x = left; x <= right; ++x) {
    pen.Dot(x, top);
    pen.Dot(x, bottom);
  }
  for (long y = top; y <= bottom; ++y) {
    pen.Dot(left, y);
    pen.Dot(right, y);
  }
}

void Cross(const Pen& pen, const xelfw::PixelTemperature& pixel) {
  for (int d = kCrossGap; d < kCrossGap + kCrossArm; ++d) {
    pen.Dot(static_cast<long>(pixel.x) - d, pixel.y);
    pen.Dot(static_cast<long>(pixel.x) + d, pixel.y);
    pen.Dot(pixel.x, static_cast<long>(pixel.y) - d);
    pen.Dot(pixel.x, static_cast<long>(pixel.y) + d);
  }
}

}  // namespace

void MarkAreas(xelfw::Image& picture, const xelfw::Image& grey, const std::vector<xelfw::MeasurementArea>& areas,
               const xelfw::TemperatureCalibration& calibration) {
  const std::vector<xelfw::MeasurementArea> marked = AreasOf(areas, grey);
  CheckAreasInside(marked, grey);
  const std::vector<xelfw::AreaStatistics> statistics = xelfw::MeasureAreas(grey, marked, calibration);
  const Pen pen(picture);
  for (std::size_t i = 0; i < marked.size(); ++i) {
    // The whole frame needs no outline: its edge is the picture's.
    if (!areas.empty()) Outline(pen, marked[i]);
    if (statistics[i].hottest) Cross(pen, *statistics[i].hottest);
  }
}

}  // namespace xelimg
