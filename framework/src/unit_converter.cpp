// The unit converter, linear or calibrated.
#include <xelfw/UnitConverter.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace xelfw {

namespace {

constexpr double kNotAvailable = std::numeric_limits<double>::quiet_NaN();

// The normalised grey values in 0..top where the apparent temperature a0 + a1·g + a2·g² rises; the
// emissivity correction and the unit map keep that order.
struct RisingPart {
  double low;
  double high;
};

std::optional<RisingPart> Rising(const TemperatureCalibration& c, double top) {
  if (c.a2 == 0.0) return c.a1 > 0.0 ? std::optional<RisingPart>({0.0, top}) : std::nullopt;
  const double vertex = -c.a1 / (2.0 * c.a2);
  const RisingPart part = c.a2 > 0.0 ? RisingPart{std::max(0.0, vertex), top} : RisingPart{0.0, std::min(top, vertex)};
  if (!(part.low < part.high)) return std::nullopt;
  return part;
}

}  // namespace

void UnitConverter::SetUnitText(const char* text) { m_UnitText = text != nullptr ? text : ""; }

const char* UnitConverter::GetUnitText() const {
  return m_Calibration ? m_Calibration->unitDesc.c_str() : m_UnitText.c_str();
}

void UnitConverter::SetCalibration(std::optional<TemperatureCalibration> calibration) {
  m_Calibration = std::move(calibration);
}

UINT UnitConverter::SetConvParam(UINT id, UINT_PTR value, UINT_PTR, UINT_PTR, UINT_PTR) {
  switch (id) {
    case XI_CONV_PARAM_DECIMALS:
      // More digits than a double carries would only print noise.
      if (value > 17) return XIP_E_BADARG;
      m_Decimals = static_cast<UINT>(value);
      return XIP_OK;
    case XI_CONV_PARAM_SCALE_OFFSET: {
      if (value == 0) return XIP_E_BADARG;
      double pair[2];
      std::memcpy(pair, reinterpret_cast<const void*>(value), sizeof pair);
      m_Scale = pair[0];
      m_Offset = pair[1];
      return XIP_OK;
    }
    case XI_CONV_PARAM_NORMALIZATION:
      m_Normalization = value != 0;
      return XIP_OK;
    default:
      return XIP_E_BADARG;
  }
}

double UnitConverter::GreyToUnit(double grey, double greySpan) const {
  if (m_Calibration) return m_Calibration->Temperature(grey / (greySpan + 1.0)).value_or(kNotAvailable);
  return m_Normalization ? m_Offset + grey * m_Scale : grey;
}

double UnitConverter::UnitToGrey(double width, double greySpan) const {
  return GreyAt(GreyToUnit(0.0, greySpan) + width, greySpan);
}

double UnitConverter::GreyAt(double unit, double greySpan) const {
  if (!m_Calibration) {
    if (!m_Normalization) return unit;
    return m_Scale != 0.0 ? (unit - m_Offset) / m_Scale : 0.0;
  }
  if (std::isnan(unit)) return kNotAvailable;
  const double levels = greySpan + 1.0;
  const std::optional<RisingPart> part = Rising(*m_Calibration, greySpan / levels);
  if (!part) return kNotAvailable;
  // Where the object has no temperature (a negative fourth power at the cold end) counts as colder
  // than any temperature.
  const auto below = [&](double grey) {
    const double value = GreyToUnit(grey, greySpan);
    return std::isnan(value) || value < unit;
  };
  double low = part->low * levels;
  double high = part->high * levels;
  if (!below(low)) return low;
  if (below(high)) return high;
  while (true) {
    const double middle = low + (high - low) / 2.0;
    if (middle <= low || middle >= high) return high;
    (below(middle) ? low : high) = middle;
  }
}

std::optional<std::pair<double, double>> UnitConverter::RisingGreys(double greySpan) const {
  if (!m_Calibration) {
    if (m_Normalization && !(m_Scale > 0.0)) return std::nullopt;
    return std::pair{0.0, greySpan};
  }
  const double levels = greySpan + 1.0;
  const std::optional<RisingPart> part = Rising(*m_Calibration, greySpan / levels);
  if (!part) return std::nullopt;
  // The ends of the grey range exactly, so that "rises over all of it" is no matter of rounding.
  return std::pair{part->low > 0.0 ? part->low * levels : 0.0,
                   part->high < greySpan / levels ? part->high * levels : greySpan};
}

UINT UnitConverter::FormatValue(double grey, double greySpan, char* buffer, UINT size, UINT formatFlag,
                                INT decimals) const {
  if (buffer == nullptr || size == 0) return 0;
  const int digits = decimals < 0 ? static_cast<int>(m_Decimals) : decimals;
  const bool width = formatFlag == XI_FORMAT_NUMBER;
  const double unit = width ? GreyToUnit(grey, greySpan) - GreyToUnit(0.0, greySpan) : GreyToUnit(grey, greySpan);
  const char* unitText = GetUnitText();
  const bool withUnit = !width && unitText[0] != '\0';
  int length = 0;
  if (std::isnan(unit)) {
    length = std::snprintf(buffer, size, "- N.A. -");
  } else if (withUnit) {
    length = std::snprintf(buffer, size, "%.*f %s", digits, unit, unitText);
  } else {
    length = std::snprintf(buffer, size, "%.*f", digits, unit);
  }
  if (length < 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(length) < size ? static_cast<UINT>(length) : size - 1;
}

}  // namespace xelfw
