// The status line's words about the pixel under the cursor: where it is, its grey value and the
// temperature it reads as, through the same conversion as every other temperature of the viewer.
#pragma once

#include <xelfw/Image.h>
#include <xelfw/TemperatureCalibration.h>
#include <xelfw/UnitConverter.h>
#include "host_kit.h"

#include <optional>
#include <string>

namespace xelimg::view {

class CursorReadout {
 public:
  // Without a calibration the temperature object's default one, which its readout uses then too.
  explicit CursorReadout(const std::optional<xelfw::TemperatureCalibration>& calibration);

  // "x 160  y 120   grey 30142   82.8 °C" (Windows-1252, as the window layer draws it); the point
  // lies inside the single-frame greyscale image.
  std::string Describe(const xelfw::Image& grey, POINT point) const;

 private:
  xelfw::UnitConverter m_Converter;
};

}  // namespace xelimg::view
