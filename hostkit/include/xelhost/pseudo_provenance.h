// The fields a pseudo-colour picture adds to its provenance record.
#pragma once

#include <xelhost/framework_types.h>
#include <xelhost/provenance.h>
#include <xelhost/pseudo_job.h>

#include <xelfw/Image.h>

#include <optional>

namespace xelhost {

// InputBits (the source's significant bits), Profile, Window (the grey fractions LOWER:UPPER the
// frame was coloured with, after an automatic window was found), WindowInUnit and Unit (the same
// window in the display unit: the calibration's, else the settings' linear one).
XEL_HOST_API void SetPseudoProvenance(Provenance& record, const xelfw::Image& source, const PseudoResult& result,
                                      const std::optional<xelfw::TemperatureCalibration>& calibration);

}  // namespace xelhost
