// Formatting the pixel under the cursor and the area measured.
#include "view/cursor_readout.h"
#include "host_kit.h"

#include <xelhost/AreaStatistics.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace xelimg::view {

namespace {

std::string Value(double value) {
  if (!std::isfinite(value)) return "- N.A. -";
  char text[48];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

}  // namespace

CursorReadout::CursorReadout(const std::optional<xelfw::TemperatureCalibration>& calibration)
    : m_Calibration(calibration.value_or(xelfw::TemperatureCalibration{})) {
  m_Converter.SetCalibration(m_Calibration);
}

std::string CursorReadout::Describe(const xelfw::Image& grey, POINT point, const std::optional<RECT>& area) const {
  return Pixel(grey, point) + "   " + Area(grey, area);
}

std::string CursorReadout::Pixel(const xelfw::Image& grey, POINT point) const {
  const UINT value = grey.GetComponent(static_cast<UINT>(point.x), static_cast<UINT>(point.y), 0);
  // The largest grey value of the frame's significant bits, as the temperature object normalises.
  const double span = std::ldexp(1.0, static_cast<int>(grey.GetImgBPC())) - 1.0;
  const double unit = m_Converter.GreyToUnit(value, span);
  // The same flags as the area statistics count, from the same table.
  const GreyTemperatures& flags = Temperatures(grey.GetImgBPC());
  std::string text = "x " + std::to_string(point.x) + "  y " + std::to_string(point.y) + "   grey " +
                     std::to_string(value) + (flags.Saturated(value) ? " saturated" : "") + "   ";
  if (std::isnan(unit)) return text + "- N.A. -";
  text += Value(unit) + " " + m_Converter.GetUnitText();
  // Beyond the calibration points the fitted curve is extrapolated: the number is less certain.
  if (flags.BelowCalibration(value) || flags.AboveCalibration(value)) text += " extrapolated";
  return text;
}

const GreyTemperatures& CursorReadout::Temperatures(UINT imgBPC) const {
  if (!m_Temperatures || m_TemperatureBits != imgBPC) {
    m_Temperatures.emplace(m_Calibration, imgBPC);
    m_TemperatureBits = imgBPC;
  }
  return *m_Temperatures;
}

std::string CursorReadout::Area(const xelfw::Image& grey, const std::optional<RECT>& area) const {
  const RectangleShape shape =
      area ? RectangleShape{static_cast<UINT>(std::max(0L, static_cast<long>(area->left))),
                            static_cast<UINT>(std::max(0L, static_cast<long>(area->top))),
                            static_cast<UINT>(area->right - area->left), static_cast<UINT>(area->bottom - area->top)}
           : RectangleShape{0, 0, grey.Width(), grey.Height()};
  const MeasurementArea measured{"area", shape};
  const AreaStatistics statistics = MeasureAreas(grey, {&measured, 1}, m_Calibration).front();
  const auto extreme = [](const std::optional<PixelTemperature>& pixel) {
    return pixel ? pixel->temperature : std::nan("");
  };
  return "area min " + Value(extreme(statistics.coldest)) + "  max " + Value(extreme(statistics.hottest)) + "  mean " +
         Value(statistics.mean.value_or(std::nan(""))) + " " + m_Converter.GetUnitText() + " (reading " +
         Value(statistics.temperature.value_or(std::nan(""))) + ")";
}

}  // namespace xelimg::view
