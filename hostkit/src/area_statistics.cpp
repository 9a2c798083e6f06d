// Temperature statistics of areas through a table of every grey value's temperature.
#include <xelhost/AreaStatistics.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace xelhost {

namespace {

constexpr UINT kMaxTableBits = 16;

// Reads the significant value of each greyscale pixel of one row.
class GreyRows {
 public:
  GreyRows(const Image& image, UINT frame) : m_Image(image), m_Frame(frame) {
    const PixelLayout& layout = image.Layout();
    if (layout.formatClass != XI_IMGFORMAT_CLASS_GREYSCALE || layout.numComponents != 1) {
      throw std::invalid_argument("temperatures need a greyscale image");
    }
    if (layout.imgBPC == 0 || layout.imgBPC > kMaxTableBits) {
      throw std::invalid_argument("temperatures need 1 to 16 significant bits");
    }
    if (frame >= image.Frames()) throw std::invalid_argument("the image has no frame " + std::to_string(frame));
    m_Bytes = layout.memBPC / 8;
    m_Lsb = layout.lsbPos;
    m_Mask = (1u << layout.imgBPC) - 1u;
  }

  UINT operator()(UINT x, UINT y) const {
    const BYTE* unit = m_Image.Data(m_Frame) + y * m_Image.Stride() + std::size_t{x} * m_Bytes;
    UINT value = 0;
    if (m_Bytes == 1) {
      value = *unit;
    } else if (m_Bytes == 2) {
      std::uint16_t v;
      std::memcpy(&v, unit, sizeof v);
      value = v;
    } else {
      std::uint32_t v;
      std::memcpy(&v, unit, sizeof v);
      value = v;
    }
    return (value >> m_Lsb) & m_Mask;
  }

 private:
  const Image& m_Image;
  UINT m_Frame;
  std::size_t m_Bytes = 1;
  UINT m_Lsb = 0;
  UINT m_Mask = 0;
};

std::vector<PixelRun> PixelsInside(const MeasurementArea& area, const Image& image) {
  std::vector<PixelRun> runs = ShapePixels(area.shape, image.Width(), image.Height());
  if (runs.empty()) {
    const std::string name = area.name.empty() ? std::string("an area") : "area '" + area.name + "'";
    throw std::invalid_argument(name + " has no pixel in the " + std::to_string(image.Width()) + " x " +
                                std::to_string(image.Height()) + " image");
  }
  return runs;
}

AreaStatistics Measure(const GreyRows& grey, const GreyTemperatures& temperatures, const MeasurementArea& area,
                       const std::vector<PixelRun>& runs, const TemperatureCalibration& calibration, UINT imgBPC) {
  AreaStatistics result;
  result.name = area.name;
  std::uint64_t greySum = 0;
  // Welford's running mean and squared deviations: no cancellation for a narrow spread far from 0.
  std::size_t available = 0;
  double mean = 0.0;
  double squares = 0.0;
  for (const PixelRun& run : runs) {
    result.pixels += run.right - run.left;
    const UINT y = run.y;
    for (UINT x = run.left; x < run.right; ++x) {
      const UINT value = grey(x, y);
      greySum += value;
      const double t = temperatures(value);
      if (std::isnan(t)) {
        ++result.unavailable;
        continue;
      }
      ++available;
      const double delta = t - mean;
      mean += delta / static_cast<double>(available);
      squares += delta * (t - mean);
      if (!result.coldest || t < result.coldest->temperature) result.coldest = PixelTemperature{x, y, t};
      if (!result.hottest || t > result.hottest->temperature) result.hottest = PixelTemperature{x, y, t};
    }
  }
  // The same sum and division as the statistics object, so the two means agree to the last bit.
  result.meanGrey = static_cast<double>(greySum) / static_cast<double>(result.pixels);
  result.temperature = calibration.Temperature(result.meanGrey / std::ldexp(1.0, static_cast<int>(imgBPC)));
  if (available > 0) result.standardDeviation = std::sqrt(squares / static_cast<double>(available));
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
