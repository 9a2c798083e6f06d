// The status line's words about the pixel under the cursor: where it is, its grey value and the
// temperature it reads as, through the same conversion as every other temperature of the viewer; and
// about the area measured: its pixels' lowest, highest and mean temperature beside the object's reading.
#pragma once

#include <xelfw/Image.h>
#include <xelfw/TemperatureCalibration.h>
#include <xelfw/UnitConverter.h>
#include "host_kit.h"

#include <xelhost/AreaStatistics.h>

#include <optional>
#include <string>

namespace xelimg::view {

class CursorReadout {
 public:
  // Without a calibration the temperature object's default one, which its readout uses then too.
  explicit CursorReadout(const std::optional<xelfw::TemperatureCalibration>& calibration);

  // "x 160  y 120   grey 30142   82.8 °C" (Windows-1252, as the window layer draws it), the grey value
  // flagged "saturated" at the largest value of the frame's bits and the temperature "extrapolated"
  // outside the calibration points' span; then the area's "area min 66.5  max 91.0  mean 81.9 °C
  // (reading 82.2)", the whole frame without an area. The point lies inside the single-frame
  // greyscale image, the area (image pixels) overlaps it.
  std::string Describe(const xelfw::Image& grey, POINT point, const std::optional<RECT>& area = std::nullopt) const;

 private:
  std::string Pixel(const xelfw::Image& grey, POINT point) const;
  std::string Area(const xelfw::Image& grey, const std::optional<RECT>& area) const;
  // Every grey value's temperature and flags for frames of these bits, built once as the pointer moves.
  const xelhost::GreyTemperatures& Temperatures(UINT imgBPC) const;

  xelfw::TemperatureCalibration m_Calibration;
  xelfw::UnitConverter m_Converter;
  mutable std::optional<xelhost::GreyTemperatures> m_Temperatures;
  mutable UINT m_TemperatureBits = 0;
};

}  // namespace xelimg::view
