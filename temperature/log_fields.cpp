#include "temperature/CXelTemperatureDisplayClass.h"

#include "temperature/bounded_text.h"
#include "temperature/temperature_conversion.h"

namespace {

// Log selector 0 has two columns: the emissivity and the temperature.
constexpr UINT kLogSelector = 0;
constexpr UINT kEpsilonField = 0;
constexpr UINT kTemperatureField = 1;
constexpr UINT kNumLogFields = 2;
constexpr UINT kEpsilonFieldWidth = 7;
constexpr UINT kTemperatureFieldWidth = 10;

bool IsLogField(UINT selector, UINT field) {
  return selector == kLogSelector && (field == kEpsilonField || field == kTemperatureField);
}

}  // namespace

UINT CXelTemperatureDisplayClass::GetNumMaxLogFields(UINT selector) {
  return selector == kLogSelector ? kNumLogFields : 0;
}

UINT CXelTemperatureDisplayClass::GetNumSupportedLogFields(UINT selector) {
  return selector == kLogSelector ? kNumLogFields : 0;
}

UINT CXelTemperatureDisplayClass::GetMaxLogFieldWidth(UINT selector, UINT field) {
  if (!IsLogField(selector, field)) return 0;
  return field == kEpsilonField ? kEpsilonFieldWidth : kTemperatureFieldWidth;
}

UINT CXelTemperatureDisplayClass::GetLogFieldHeadLine(char* buffer, UINT size, UINT selector, UINT field) {
  if (buffer == nullptr || size == 0) return 0;
  if (!IsLogField(selector, field)) return CopyBoundedText(buffer, size, "");
  if (field == kEpsilonField) return CopyBoundedText(buffer, size, "Epsilon");
  return FormatBoundedText(buffer, size, "Temp. [%.*s]", UnitDescLength(Settings), Settings.UnitDesc);
}

// The unit stands in the head line only, so the column holds plain numbers.
UINT CXelTemperatureDisplayClass::GetLogFieldContent(char* buffer, UINT size, UINT selector, UINT field) {
  if (buffer == nullptr || size == 0) return 0;
  if (!IsLogField(selector, field)) return CopyBoundedText(buffer, size, "");
  if (field == kEpsilonField) return FormatBoundedText(buffer, size, "%.3f", Settings.Epsilon);
  double temperature = 0.0;
  if (CalculateTemperature(&temperature)) return FormatBoundedText(buffer, size, "%.1f", temperature);
  return CopyBoundedText(buffer, size, kTemperatureNotAvailable);
}
