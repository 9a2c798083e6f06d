// pseudo --line-plot OUT.png: the temperature along each --line, one picture a frame, so a profile
// across a hot spot can be read without a spreadsheet.
#pragma once

#include <xelhost/arguments.h>
#include <xelhost/framework_types.h>
#include <xelhost/line_profile.h>

#include <xelfw/Image.h>
#include <xelfw/TemperatureCalibration.h>

#include <string>
#include <vector>

namespace xelhost {

inline constexpr OptionSpec kLinePlotOption{"line-plot", true};

// An 8-bit RGB picture: every line's temperature (in the display unit) over its samples' index, one
// colour a line with its name in a key, axes labelled with round values, the unit and "pixel along
// the line". Pixels without a temperature leave a gap. Throws std::invalid_argument for a line with
// no pixel in the frame; lines must not be empty.
XEL_HOST_API xelfw::Image PlotLines(const xelfw::Image& grey, const std::vector<ProfileLine>& lines,
                                    const xelfw::TemperatureCalibration& calibration);

}  // namespace xelhost
