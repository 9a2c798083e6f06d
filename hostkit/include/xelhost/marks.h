// pseudo --mark: the measured areas and lines drawn onto the picture, each with its name and its
// hottest temperature beside it, so that a picture handed on shows where its numbers come from.
#pragma once

#include <xelfw/Image.h>
#include <xelfw/TemperatureCalibration.h>
#include <xelhost/AreaStatistics.h>
#include <xelhost/framework_types.h>
#include <xelhost/line_profile.h>

#include <vector>

namespace xelhost {

// Draws each area's outline and a cross around its hottest pixel (the pixel itself left as it is) and
// each line's pixels, white on dark colours and black on bright ones, into the picture's own units;
// then beside each one a label, "NAME 61.7 °C" (its highest temperature in the display unit), white
// on a black box so it reads on any colour. grey: the frame the picture was made from. Neither areas
// nor lines: the whole frame's hottest pixel, labelled. Throws UsageError for an area or a line with
// no pixel in the frame.
void MarkAreas(xelfw::Image& picture, const xelfw::Image& grey, const std::vector<xelhost::MeasurementArea>& areas,
               const std::vector<ProfileLine>& lines, const xelfw::TemperatureCalibration& calibration);

// Throws UsageError for a name the labels' font cannot draw (it draws Windows-1252).
void CheckMarkNames(const std::vector<xelhost::MeasurementArea>& areas, const std::vector<ProfileLine>& lines);

}  // namespace xelhost
