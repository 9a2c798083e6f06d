// Marks drawn unit by unit, so a 16-bit picture keeps its depth.
#include <xelhost/marks.h>

#include <xelhost/area_option.h>

#include <cstddef>
#include <set>
#include <utility>

namespace xelhost {

namespace {

constexpr int kCrossGap = 2;  // the hottest pixel and its neighbours stay visible
constexpr int kCrossArm = 4;

// The points of every mark, each painted once, with the ink its unmarked colour calls for.
class Marks {
 public:
  // The area's own pixels that touch a pixel outside it, so the outline never covers what is measured
  // beyond its edge.
  void Outline(const xelhost::MeasurementArea& area, const xelfw::Image& frame) {
    std::set<std::pair<long, long>> inside;
    for (const PixelRun& run : ShapePixels(area.shape, frame.Width(), frame.Height()))
      for (long x = run.left; x < static_cast<long>(run.right); ++x) inside.insert({x, static_cast<long>(run.y)});
    for (const auto& [x, y] : inside) {
      if (!inside.count({x - 1, y}) || !inside.count({x + 1, y}) || !inside.count({x, y - 1}) ||
          !inside.count({x, y + 1}))
        m_Points.insert({x, y});
    }
  }

  void Cross(const xelhost::PixelTemperature& pixel) {
    const long x = pixel.x, y = pixel.y;
    for (long d = kCrossGap; d < kCrossGap + kCrossArm; ++d)
      m_Points.insert({{x - d, y}, {x + d, y}, {x, y - d}, {x, y + d}});
  }

  // White on dark colours, black on bright ones: a mark shows on any part of any profile.
  void Paint(xelfw::Image& picture) const {
    const UINT full = (1u << picture.Layout().imgBPC) - 1;
    for (const auto& [x, y] : m_Points) {
      if (x < 0 || y < 0 || x >= static_cast<long>(picture.Width()) || y >= static_cast<long>(picture.Height()))
        continue;
      const auto px = static_cast<UINT>(x), py = static_cast<UINT>(y);
      std::size_t sum = 0;
      for (UINT c = 0; c < 3; ++c) sum += picture.GetComponent(px, py, c);
      const UINT ink = sum > std::size_t{3} * full / 2 ? 0 : full;
      for (UINT c = 0; c < 3; ++c) picture.SetComponent(px, py, c, ink);
    }
  }

 private:
  std::set<std::pair<long, long>> m_Points;
};

}  // namespace

void MarkAreas(xelfw::Image& picture, const xelfw::Image& grey, const std::vector<xelhost::MeasurementArea>& areas,
               const xelfw::TemperatureCalibration& calibration) {
  const std::vector<xelhost::MeasurementArea> marked = AreasOf(areas, grey);
  CheckAreasInside(marked, grey);
  const std::vector<xelhost::AreaStatistics> statistics = xelhost::MeasureAreas(grey, marked, calibration);
  Marks marks;
  for (std::size_t i = 0; i < marked.size(); ++i) {
    // The whole frame needs no outline: its edge is the picture's.
    if (!areas.empty()) marks.Outline(marked[i], grey);
    if (statistics[i].hottest) marks.Cross(*statistics[i].hottest);
  }
  marks.Paint(picture);
}

}  // namespace xelhost
