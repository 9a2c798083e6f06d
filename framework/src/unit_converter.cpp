// The linear unit converter.
#include <xelfw/UnitConverter.h>

#include <cstdio>
#include <cstring>

namespace xelfw {

void UnitConverter::SetUnitText(const char* text) { m_UnitText = text != nullptr ? text : ""; }

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

double UnitConverter::GreyToUnit(double grey, double) const {
  return m_Normalization ? m_Offset + grey * m_Scale : grey;
}

double UnitConverter::UnitToGrey(double unit, double) const {
  if (!m_Normalization) return unit;
  return m_Scale != 0.0 ? (unit - m_Offset) / m_Scale : 0.0;
}

UINT UnitConverter::FormatValue(double grey, double greySpan, char* buffer, UINT size, UINT formatFlag,
                                INT decimals) const {
  if (buffer == nullptr || size == 0) return 0;
  const int digits = decimals < 0 ? static_cast<int>(m_Decimals) : decimals;
  const double unit = GreyToUnit(grey, greySpan);
  const bool withUnit = formatFlag == XI_FORMAT_NUMBER_AND_UNIT && !m_UnitText.empty();
  const int length = withUnit ? std::snprintf(buffer, size, "%.*f %s", digits, unit, m_UnitText.c_str())
                              : std::snprintf(buffer, size, "%.*f", digits, unit);
  if (length < 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(length) < size ? static_cast<UINT>(length) : size - 1;
}

}  // namespace xelfw
