// One pseudo-colour run on a fresh object through the host kit's job, set up as `xelimg pseudo`
// sets it up.
#pragma once

#include <xelfw/Image.h>
#include <xelfw/PluginLoader.h>
#include <xelfw/TemperatureCalibration.h>

#include <optional>
#include <string>
#include <vector>

namespace xelpy {

// options: xelimg pseudo's options ("--profile", "2", "--range", "20:80", ...), checked by the same
// code; calibration: the display unit of --range. Throws xelhost::UsageError for values xelimg
// refuses, xelhost::CommandError when the object refuses. Needs no GIL.
xelfw::Image RunPseudoColor(const xelfw::PluginLibrary& library, const xelfw::Image& source,
                            const std::vector<std::string>& options,
                            const std::optional<xelfw::TemperatureCalibration>& calibration);

// The number of colour profiles the object offers.
unsigned ProfileCount(const xelfw::PluginLibrary& library);

}  // namespace xelpy
