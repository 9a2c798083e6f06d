#include "temperature/temperature_conversion.h"

#include <cmath>

std::optional<double> ConvertGreyValueToTemperature(const TTemperatureSettings& settings, double statValue,
                                                    UINT numGreyLevels) {
  if (numGreyLevels == 0) return std::nullopt;
  const double epsilon = settings.Epsilon;
  if (!(epsilon > 0.0) || epsilon > 1.0) return std::nullopt;

  const double g = statValue / numGreyLevels;
  const double apparent = (settings.a2 * g + settings.a1) * g + settings.a0;

  // The camera sees epsilon * T^4 from the surface plus (1 - epsilon) * B reflected from the surroundings.
  const double bg = settings.BgTempKelvin;
  const double b4 = (bg * bg) * (bg * bg);
  const double s4 = (apparent * apparent) * (apparent * apparent);
  const double t4 = b4 + (s4 - b4) / epsilon;
  if (t4 < 0.0) return std::nullopt;

  const double surface = std::pow(t4, 0.25);
  const double result = (surface + settings.KelvinToUnitOfs) * settings.KelvinToUnitMult;
  if (!std::isfinite(result)) return std::nullopt;
  return result;
}
