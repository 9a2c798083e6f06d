// Measured grey value -> temperature in the display unit.
#pragma once

#include "temperature/settings.h"

#include <winui/windef.h>

#include <optional>

// No value when there is no measurement (numGreyLevels 0) or the published conversion gives none.
inline std::optional<double> ConvertGreyValueToTemperature(const TTemperatureSettings& settings, double statValue,
                                                           UINT numGreyLevels) {
  if (numGreyLevels == 0) return std::nullopt;
  return TemperatureOfNormalisedGrey(settings, statValue / numGreyLevels);
}

// The text shown for a conversion that failed.
inline constexpr char kTemperatureNotAvailable[] = "- N.A. -";
