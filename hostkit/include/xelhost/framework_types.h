// The host kit works in the framework's vocabulary: its images, areas, INI stores, calibrations and
// host set-ups are the host kit's too.
#pragma once

#include <xelfw/Aoi.h>
#include <xelfw/Image.h>
#include <xelfw/IniStore.h>
#include <xelfw/ProcessingHost.h>
#include <xelfw/TemperatureCalibration.h>

namespace xelhost {

using namespace xelfw;

}  // namespace xelhost
