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
  // The largest value of the significant bits: the sensor may have clipped there.
  bool Saturated(UINT grey) const { return grey == m_Table.size() - 1; }
  // The normalised grey value lies outside the calibration points' span, so the temperature is
  // extrapolated; never with the default line, which has no points.
  bool BelowCalibration(UINT grey) const { return grey < m_FirstCalibrated; }
  bool AboveCalibration(UINT grey) const { return grey > m_LastCalibrated; }

 private:
  std::vector<double> m_Table;
  UINT m_FirstCalibrated = 0;  // the lowest grey value inside the span
  UINT m_LastCalibrated = 0;   // the highest
};

// What a set of pixels says about its temperatures beyond the object's reading: the counts of pixels
// whose reading is missing or doubtful, and the spread of the available temperatures.
struct TemperatureTally {
  std::size_t pixels = 0;
  std::size_t unavailable = 0;       // no temperature
  std::size_t saturated = 0;         // at the largest value of the significant bits
  std::size_t belowCalibration = 0;  // normalised grey value below the lowest calibration point
  std::size_t aboveCalibration = 0;  // above the highest
  // Over the pixels whose temperature is available; nothing when there is none.
  std::optional<double> mean;
  std::optional<double> standardDeviation;  // population (divided by their count), around mean
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

struct AreaStatistics : TemperatureTally {
  std::string name;
  RectangleShape bounds;  // the smallest rectangle holding the measured pixels
  double meanGrey = 0.0;  // over every pixel, as the framework's statistics object measures it
  // The object's reading: the temperature of the mean grey value (not the mean of the temperatures).
  std::optional<double> temperature;
  // Over the pixels whose temperature is available; the first pixel in row order wins a tie.
  std::optional<PixelTemperature> coldest;
  std::optional<PixelTemperature> hottest;
};

// Throws std::invalid_argument for a frame that is not greyscale, a frame index it does not have, or
// an area with no pixel in the frame (naming the area).
XEL_HOST_API std::vector<AreaStatistics> MeasureAreas(const Image& image, std::span<const MeasurementArea> areas,
                                                      const TemperatureCalibration& calibration, UINT frame = 0);

// Every pixel's temperature in row order, NaN where it is not available; same errors as above.
XEL_HOST_API std::vector<float> TemperatureMap(const Image& image, const TemperatureCalibration& calibration,
                                               UINT frame = 0);

}  // namespace xelhost
