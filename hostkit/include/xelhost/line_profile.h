// Line profiles: the temperatures along Bresenham's line between two pixels, sample by sample.
#pragma once

#include <xelhost/AreaStatistics.h>
#include <xelhost/framework_types.h>

#include <xelfw/Image.h>
#include <xelfw/TemperatureCalibration.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xelhost {

// From pixel (x1, y1) to pixel (x2, y2), both included; either end may lie outside the frame.
struct ProfileLine {
  std::string name;
  long x1 = 0;
  long y1 = 0;
  long x2 = 0;
  long y2 = 0;
};

// "X1,Y1,X2,Y2" (integers): the text without a name. Throws UsageError saying what was expected, or
// for a coordinate farther than a million pixels from the frame's corner.
XEL_HOST_API ProfileLine ParseLine(std::string_view text);
// "line:X1,Y1,X2,Y2", the line as reports name it.
XEL_HOST_API std::string LineText(const ProfileLine& line);

struct LineSample {
  std::size_t index = 0;  // the pixel's place on the whole line, the first end being 0
  UINT x = 0;
  UINT y = 0;
  UINT grey = 0;                      // the significant grey value
  std::optional<double> temperature;  // in the display unit; nothing where the object shows "- N.A. -"
};

// The line's pixels inside the frame, in order from the first end; the pixels outside are cut, so
// index counts along the whole line and may start above 0 or skip. The tally's mean, and min and
// max, are over the samples that have a temperature.
struct LineProfile : TemperatureTally {
  std::string name;
  std::vector<LineSample> samples;
  std::optional<double> min;
  std::optional<double> max;
};

// Throws std::invalid_argument for a frame that is not greyscale, a frame index it does not have, or
// a line with no pixel in the frame (naming the line).
XEL_HOST_API LineProfile MeasureLine(const Image& image, const ProfileLine& line,
                                     const TemperatureCalibration& calibration, UINT frame = 0);

}  // namespace xelhost
