#include "temperature/CXelTemperatureDisplayClass.h"

#include "temperature/bounded_text.h"
#include "temperature/temperature_conversion.h"

BOOL CXelTemperatureDisplayClass::CalculateTemperature(double* result) const {
  const auto temperature = ConvertGreyValueToTemperature(Settings, StatValue, NumGreyLevels);
  if (!temperature || result == nullptr) return FALSE;
  *result = *temperature;
  return TRUE;
}

void CXelTemperatureDisplayClass::FormatTemperature(char* buffer, UINT size) const {
  double temperature = 0.0;
  if (CalculateTemperature(&temperature))
    FormatBoundedText(buffer, size, "%.1f %.*s", temperature, UnitDescLength(Settings), Settings.UnitDesc);
  else
    CopyBoundedText(buffer, size, kTemperatureNotAvailable);
}
