// Formatting the pixel under the cursor.
#include "view/cursor_readout.h"
#include "host_kit.h"

#include <cmath>
#include <cstdio>

namespace xelimg::view {

CursorReadout::CursorReadout(const std::optional<xelfw::TemperatureCalibration>& calibration) {
  m_Converter.SetCalibration(calibration.value_or(xelfw::TemperatureCalibration{}));
}

std::string CursorReadout::Describe(const xelfw::Image& grey, POINT point) const {
  const UINT value = grey.GetComponent(static_cast<UINT>(point.x), static_cast<UINT>(point.y), 0);
  // The largest grey value of the frame's significant bits, as the temperature object normalises.
  const double span = std::ldexp(1.0, static_cast<int>(grey.GetImgBPC())) - 1.0;
  const double unit = m_Converter.GreyToUnit(value, span);
  char temperature[48];
  if (std::isnan(unit)) {
    std::snprintf(temperature, sizeof temperature, "- N.A. -");
  } else {
    std::snprintf(temperature, sizeof temperature, "%.1f %s", unit, m_Converter.GetUnitText());
  }
  char text[128];
  std::snprintf(text, sizeof text, "x %ld  y %ld   grey %u   %s", static_cast<long>(point.x),
                static_cast<long>(point.y), value, temperature);
  return text;
}

}  // namespace xelimg::view
