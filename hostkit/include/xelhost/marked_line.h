// pseudo --line [NAME=]X1,Y1,X2,Y2, repeatable: the lines --mark draws and --line-plot plots, each
// sampled at the pixels Bresenham's line visits.
#pragma once

#include <xelhost/arguments.h>
#include <xelhost/framework_types.h>
#include <xelhost/pixel_line.h>

#include <xelfw/Image.h>
#include <xelfw/TemperatureCalibration.h>

#include <string>
#include <vector>

namespace xelhost {

inline constexpr OptionSpec kMarkedLineOption{"line", true, true};

struct MarkedLine {
  std::string name;
  LinePixel from;
  LinePixel to;
};

// The lines in the order given; one without a name is called line1, line2, ... after its place. Throws
// UsageError for a text that is not [NAME=]X1,Y1,X2,Y2 in whole numbers, or a name given twice.
XEL_HOST_API std::vector<MarkedLine> ParseMarkedLines(const Arguments& args);

struct LineSample {
  LinePixel pixel;
  double temperature = 0.0;  // NaN where the pixel has none
};

// The line's pixels inside the frame, in order from its first end, with their temperatures in the
// display unit. Throws UsageError naming the line when none of its pixels lies in the frame.
XEL_HOST_API std::vector<LineSample> SampleLine(const MarkedLine& line, const xelfw::Image& grey,
                                                const xelfw::TemperatureCalibration& calibration);

}  // namespace xelhost
