// Measured grey value -> temperature in the display unit.
#pragma once

#include "temperature/settings.h"

#include <winui/windef.h>

#include <optional>

// No value when there is no measurement (numGreyLevels 0), the emissivity lies outside (0, 1], the
// radiation balance has no real solution, or the result is not a finite number.
std::optional<double> ConvertGreyValueToTemperature(const TTemperatureSettings& settings, double statValue,
                                                    UINT numGreyLevels);

// The text shown for a conversion that failed.
inline constexpr char kTemperatureNotAvailable[] = "- N.A. -";
