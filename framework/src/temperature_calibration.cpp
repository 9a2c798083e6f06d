// The object's conversion for hosts, and the section it imports.
#include <xelfw/TemperatureCalibration.h>

#include <cmath>

namespace xelfw {

std::optional<double> TemperatureCalibration::Temperature(double g) const {
  if (!(epsilon > 0.0) || epsilon > 1.0) return std::nullopt;
  const double apparent = (a2 * g + a1) * g + a0;
  const double b4 = (bgTempKelvin * bgTempKelvin) * (bgTempKelvin * bgTempKelvin);
  const double s4 = (apparent * apparent) * (apparent * apparent);
  const double t4 = b4 + (s4 - b4) / epsilon;
  if (t4 < 0.0) return std::nullopt;
  const double result = (std::pow(t4, 0.25) + kelvinToUnitOfs) * kelvinToUnitMult;
  if (!std::isfinite(result)) return std::nullopt;
  return result;
}

void TemperatureCalibration::WriteTo(IniStore& store, const std::string& section) const {
  for (std::size_t k = 0; k < points.size(); ++k) {
    store.SetString(section, "Point_" + std::to_string(k),
                    FormatIniDouble(points[k].grey) + "," + FormatIniDouble(points[k].kelvin));
  }
  store.SetDouble(section, "Epsilon", epsilon);
  store.SetDouble(section, "BgTempKelvin", bgTempKelvin);
  store.SetString(section, "UnitDesc", unitDesc);
  store.SetDouble(section, "KelvinToUnitOfs", kelvinToUnitOfs);
  store.SetDouble(section, "KelvinToUnitMult", kelvinToUnitMult);
}

}  // namespace xelfw
