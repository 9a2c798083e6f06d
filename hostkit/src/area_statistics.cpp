// Temperature statistics of areas through a table of every grey value's temperature.
#include <xelhost/AreaStatistics.h>

#include "grey_rows.h"
#include "tally_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace xelhost {

namespace {

std::vector<PixelRun> PixelsInside(const MeasurementArea& area, const Image& image) {
  std::vector<PixelRun> runs = ShapePixels(area.shape, image.Width(), image.Height());
  if (runs.empty()) {
    const std::string name = area.name.empty() ? std::string("an area") : "area '" + area.name + "'";
    throw std::invalid_argument(name + " has no pixel in the " + std::to_string(image.Width()) + " x " +
                                std::to_string(image.Height()) + " image");
  }
  return runs;
}

RectangleShape Bounds(const std::vector<PixelRun>& runs) {
  UINT left = runs.front().left;
  UINT right = runs.front().right;
  for (const PixelRun& run : runs) {
    left = std::min(left, run.left);
    right = std::max(right, run.right);
  }
  return {left, runs.front().y, right - left, runs.back().y - runs.front().y + 1};
}

AreaStatistics Measure(const GreyRows& grey, const GreyTemperatures& temperatures, const MeasurementArea& area,
                       const std::vector<PixelRun>& runs, const TemperatureCalibration& calibration, UINT imgBPC) {
  AreaStatistics result;
  TallyBuilder tally(temperatures);
  std::uint64_t greySum = 0;
  for (const PixelRun& run : runs) {
    const UINT y = run.y;
    for (UINT x = run.left; x < run.right; ++x) {
      const UINT value = grey(x, y);
      greySum += value;
      const double t = tally.Add(value);
      if (std::isnan(t)) continue;
      if (!result.coldest || t < result.coldest->temperature) result.coldest = PixelTemperature{x, y, t};
      if (!result.hottest || t > result.hottest->temperature) result.hottest = PixelTemperature{x, y, t};
    }
  }
  static_cast<TemperatureTally&>(result) = tally.Result();
  result.name = area.name;
  result.bounds = Bounds(runs);
  // The same sum and division as the statistics object, so the two means agree to the last bit.
  result.meanGrey = static_cast<double>(greySum) / static_cast<double>(result.pixels);
  result.temperature = calibration.Temperature(result.meanGrey / std::ldexp(1.0, static_cast<int>(imgBPC)));
  return result;
}

}  // namespace

GreyTemperatures::GreyTemperatures(const TemperatureCalibration& calibration, UINT imgBPC) {
  if (imgBPC == 0 || imgBPC > kMaxTableBits) throw std::invalid_argument("temperatures need 1 to 16 significant bits");
  const std::size_t levels = std::size_t{1} << imgBPC;
  m_Table.resize(levels);
  for (std::size_t grey = 0; grey < levels; ++grey) {
    m_Table[grey] = calibration.Temperature(static_cast<double>(grey) / static_cast<double>(levels))
                        .value_or(std::numeric_limits<double>::quiet_NaN());
  }
  m_LastCalibrated = static_cast<UINT>(levels - 1);
  if (calibration.points.empty()) return;
  const auto [lowest, highest] =
      std::minmax_element(calibration.points.begin(), calibration.points.end(),
                          [](const CalibrationPoint& a, const CalibrationPoint& b) { return a.grey < b.grey; });
  // grey / levels is exact, so these bounds decide exactly as comparing normalised grey values would.
  const double scale = static_cast<double>(levels);
  m_FirstCalibrated = static_cast<UINT>(std::min(std::ceil(lowest->grey * scale), scale));
  m_LastCalibrated = static_cast<UINT>(std::min(std::floor(highest->grey * scale), scale - 1.0));
}

std::vector<AreaStatistics> MeasureAreas(const Image& image, std::span<const MeasurementArea> areas,
                                         const TemperatureCalibration& calibration, UINT frame) {
  const GreyRows grey(image, frame);
  std::vector<std::vector<PixelRun>> pixels;
  for (const MeasurementArea& area : areas) pixels.push_back(PixelsInside(area, image));
  const UINT bits = image.Layout().imgBPC;
  const GreyTemperatures temperatures(calibration, bits);
  std::vector<AreaStatistics> results;
  results.reserve(areas.size());
  for (std::size_t i = 0; i < areas.size(); ++i)
    results.push_back(Measure(grey, temperatures, areas[i], pixels[i], calibration, bits));
  return results;
}

std::vector<float> TemperatureMap(const Image& image, const TemperatureCalibration& calibration, UINT frame) {
  const GreyRows grey(image, frame);
  const GreyTemperatures temperatures(calibration, image.Layout().imgBPC);
  std::vector<float> map;
  map.reserve(std::size_t{image.Width()} * image.Height());
  for (UINT y = 0; y < image.Height(); ++y) {
    for (UINT x = 0; x < image.Width(); ++x) map.push_back(static_cast<float>(temperatures(grey(x, y))));
  }
  return map;
}

}  // namespace xelhost
