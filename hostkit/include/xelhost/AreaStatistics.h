// Temperature statistics of areas of a greyscale frame through a calibration: what a report on a
// thermal picture carries (the object's reading per area, the spread around it and the hot spot).
#pragma once

#include <xelfw/Image.h>
#include <xelfw/TemperatureCalibration.h>
#include <xelhost/area_shape.h>
#include <xelhost/framework_types.h>

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace xelhost {

// Every grey value of a frame's significant bits mapped once to its temperature in the display unit,
// so that a frame of a million pixels costs a million look-ups rather than a million conversions.
class XEL_HOST_API GreyTemperatures {
 public:
  // imgBPC: significant bits, 1..16; the normalised grey value is grey / 2^imgBPC, as the object has it.
  GreyTemperatures(const TemperatureCalibration& calibration, UINT imgBPC);
  // NaN where the object shows "- N.A. -"; grey must be below 2^imgBPC.
  double operator()(UINT grey) const { return m_Table[grey]; }

 private:
  std::vector<double> m_Table;
};

// A named shape; the part of it inside the frame is measured.
struct MeasurementArea {
  std::string name;
  AreaShape shape;
};

struct PixelTemperature {
  UINT x = 0;  // in the frame
  UINT y = 0;
  double temperature = 0.0;
};

struct AreaStatistics {
  std::string name;
  std::size_t pixels = 0;       // in the area
  std::size_t unavailable = 0;  // of those, pixels whose temperature is not available
  double meanGrey = 0.0;        // over every pixel, as the framework's statistics object measures it
  // The object's reading: the temperature of the mean grey value (not the mean of the temperatures).
  std::optional<double> temperature;
  // Over the pixels whose temperature is available; nothing when there is none. The first pixel in
  // row order wins a tie. Population standard deviation (divided by their count).
  std::optional<PixelTemperature> coldest;
  std::optional<PixelTemperature> hottest;
  std::optional<double> standardDeviation;
};

// Throws std::invalid_argument for a frame that is not greyscale, a frame index it does not have, or
// an area with no pixel in the frame (naming the area).
XEL_HOST_API std::vector<AreaStatistics> MeasureAreas(const Image& image, std::span<const MeasurementArea> areas,
                                                      const TemperatureCalibration& calibration, UINT frame = 0);

// Every pixel's temperature in row order, NaN where it is not available; same errors as above.
XEL_HOST_API std::vector<float> TemperatureMap(const Image& image, const TemperatureCalibration& calibration,
                                               UINT frame = 0);

}  // namespace xelhost
