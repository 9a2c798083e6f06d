// pseudo --mark: the measured areas and each one's hottest pixel drawn onto the picture, so that a
// picture handed on shows where its numbers come from.
#pragma once

#include <xelfw/Image.h>
#include <xelfw/TemperatureCalibration.h>
#include <xelhost/AreaStatistics.h>
#include <xelhost/framework_types.h>

#include <vector>

namespace xelhost {

// Draws each area's outline and a cross around its hottest pixel (the pixel itself left as it is),
// white on dark colours and black on bright ones, into the picture's own units. grey: the frame the picture was made
// from; areas: as given (the whole frame when none). Throws UsageError for an area outside the frame.
void MarkAreas(xelfw::Image& picture, const xelfw::Image& grey, const std::vector<xelhost::MeasurementArea>& areas,
               const xelfw::TemperatureCalibration& calibration);

}  // namespace xelhost
