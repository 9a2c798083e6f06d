// A colour bar beside a pseudo-colour picture, labelled in the display unit, so that a picture handed
// on carries its own scale: pseudo --legend right|bottom [--title TEXT].
#pragma once

#include <xelhost/arguments.h>
#include <xelhost/framework_types.h>
#include <xelhost/pseudo_job.h>

#include <xelfw/Image.h>
#include <xelfw/TemperatureCalibration.h>

#include <array>
#include <optional>
#include <string>

namespace xelhost {

enum class LegendPlace { kRight, kBottom };

struct LegendOptions {
  LegendPlace place = LegendPlace::kRight;
  std::string title;  // UTF-8; drawn above the picture when not empty
};

inline constexpr std::array<OptionSpec, 2> kLegendOptionSpecs = {{{"legend", true}, {"title", true}}};

// Nothing without --legend. Throws UsageError for a place that is neither right nor bottom, and for
// --title without --legend.
std::optional<LegendOptions> ParseLegendOptions(const Arguments& args);

// The picture with the bar beside it. The bar's colours are the job's own for the frame's window (a
// grey ramp of the source's depth run through it), the highest at the top or on the right; the labels
// are the "Scale" dialog's choice of values, each drawn where its grey value lies, with the window's
// ends read through the calibration when there is one.
xelfw::Image AddLegend(const xelfw::Image& picture, const PseudoResult& frame, UINT sourceBits, PseudoColorJob& job,
                       const std::optional<xelfw::TemperatureCalibration>& calibration, const LegendOptions& options);

}  // namespace xelhost
