// Marks drawn unit by unit, so a 16-bit picture keeps its depth; labels drawn by the window layer's GDI
// and copied in at the picture's depth.
#include <xelhost/marks.h>

#include "label_canvas.h"

#include <xelhost/area_option.h>
#include <xelhost/errors.h>

#include <xelfw/TextEncoding.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <limits>
#include <set>
#include <string>
#include <utility>

namespace xelhost {

namespace {

constexpr int kCrossGap = 2;  // the hottest pixel and its neighbours stay visible
constexpr int kCrossArm = 4;
constexpr int kLabelGap = 3;  // between a mark and its label
constexpr int kLabelPadding = 2;

// Pixels from (left, top) to (right, bottom), both included.
struct Extent {
  long left = std::numeric_limits<long>::max();
  long top = std::numeric_limits<long>::max();
  long right = std::numeric_limits<long>::min();
  long bottom = std::numeric_limits<long>::min();

  void Add(long x, long y) {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x);
    bottom = std::max(bottom, y);
  }
};

// The points of every mark, each painted once, with the ink its unmarked colour calls for.
class Marks {
 public:
  // The area's own pixels that touch a pixel outside it, so the outline never covers what is measured
  // beyond its edge.
  Extent Outline(const xelhost::MeasurementArea& area, const xelfw::Image& frame) {
    std::set<std::pair<long, long>> inside;
    Extent extent;
    for (const PixelRun& run : ShapePixels(area.shape, frame.Width(), frame.Height()))
      for (long x = run.left; x < static_cast<long>(run.right); ++x) {
        inside.insert({x, static_cast<long>(run.y)});
        extent.Add(x, run.y);
      }
    for (const auto& [x, y] : inside) {
      if (!inside.count({x - 1, y}) || !inside.count({x + 1, y}) || !inside.count({x, y - 1}) ||
          !inside.count({x, y + 1}))
        m_Points.insert({x, y});
    }
    return extent;
  }

  void Line(const std::vector<LineSample>& samples) {
    for (const LineSample& sample : samples) m_Points.insert({sample.x, sample.y});
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

std::string Cp1252Name(const std::string& name) {
  auto text = xelfw::Utf8ToCp1252(name);
  if (!text) throw UsageError("--mark: the name '" + name + "' has characters the labels' font cannot draw");
  return *text;
}

// "hot 61.7 °C", or "hot - N.A. -" where no pixel has a temperature.
std::string LabelText(const std::string& name, double highest, const std::string& unit) {
  char value[48];
  if (std::isfinite(highest)) {
    std::snprintf(value, sizeof value, "%.1f ", highest);
  } else {
    std::snprintf(value, sizeof value, "- N.A. -");
    return Cp1252Name(name) + " " + value;
  }
  return Cp1252Name(name) + " " + value + unit;
}

struct Label {
  std::string text;
  Extent beside;
};

// Each label on its own small canvas, placed to the right of its mark, else to its left, else below or
// above it, and kept inside the picture.
void PaintLabels(xelfw::Image& picture, const std::vector<Label>& labels) {
  const TextMeasure measure;
  const long pictureWidth = picture.Width(), pictureHeight = picture.Height();
  for (const Label& label : labels) {
    const int width = measure.Width(label.text) + 2 * kLabelPadding;
    const int height = measure.Height() + kLabelPadding;
    LabelCanvas canvas(width, height, RGB(0, 0, 0), RGB(255, 255, 255));
    canvas.Text(label.text, RECT{kLabelPadding, 0, width, height}, DT_LEFT | DT_VCENTER);
    const Extent& mark = label.beside;
    long left = mark.right + kLabelGap + 1;
    long top = mark.top;
    if (left + width > pictureWidth) {
      left = mark.left - kLabelGap - width;
      if (left < 0) {
        left = mark.left;
        top = mark.bottom + kLabelGap + 1 + height <= pictureHeight ? mark.bottom + kLabelGap + 1
                                                                    : mark.top - kLabelGap - height;
      }
    }
    left = std::clamp(left, 0L, std::max(0L, pictureWidth - width));
    top = std::clamp(top, 0L, std::max(0L, pictureHeight - height));
    canvas.CopyTo(picture, RECT{0, 0, width, height}, left, top);
  }
}

}  // namespace

void CheckMarkNames(const std::vector<xelhost::MeasurementArea>& areas, const std::vector<ProfileLine>& lines) {
  for (const xelhost::MeasurementArea& area : areas) Cp1252Name(area.name);
  for (const ProfileLine& line : lines) Cp1252Name(line.name);
}

void MarkAreas(xelfw::Image& picture, const xelfw::Image& grey, const std::vector<xelhost::MeasurementArea>& areas,
               const std::vector<ProfileLine>& lines, const xelfw::TemperatureCalibration& calibration) {
  const std::vector<xelhost::MeasurementArea> marked =
      lines.empty() ? AreasOf(areas, grey) : std::vector<xelhost::MeasurementArea>(areas);
  CheckAreasInside(marked, grey);
  const std::vector<xelhost::AreaStatistics> statistics = xelhost::MeasureAreas(grey, marked, calibration);
  Marks marks;
  std::vector<Label> labels;
  const std::string& unit = calibration.unitDesc;
  for (std::size_t i = 0; i < marked.size(); ++i) {
    const auto& hottest = statistics[i].hottest;
    if (hottest) marks.Cross(*hottest);
    // The whole frame needs no outline, its edge is the picture's: its label goes beside its hot spot.
    Extent beside;
    if (!areas.empty()) {
      beside = marks.Outline(marked[i], grey);
    } else if (hottest) {
      beside.Add(static_cast<long>(hottest->x) - kCrossGap - kCrossArm, hottest->y);
      beside.Add(static_cast<long>(hottest->x) + kCrossGap + kCrossArm, hottest->y);
    } else {
      beside.Add(0, 0);
    }
    const double highest = hottest ? hottest->temperature : std::numeric_limits<double>::quiet_NaN();
    labels.push_back({LabelText(marked[i].name, highest, unit), beside});
  }
  for (const ProfileLine& line : lines) {
    const LineProfile profile = MeasureLine(grey, line, calibration);
    marks.Line(profile.samples);
    // Beside the line's last pixel: a label along a long line would be far from where it points.
    Extent end;
    end.Add(profile.samples.back().x, profile.samples.back().y);
    labels.push_back({LabelText(line.name, profile.max.value_or(std::numeric_limits<double>::quiet_NaN()), unit), end});
  }
  marks.Paint(picture);
  PaintLabels(picture, labels);
}

}  // namespace xelhost
