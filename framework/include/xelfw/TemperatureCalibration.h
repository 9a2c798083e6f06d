// A temperature calibration as the "Temperature display" object uses it: the fitted line, the
// emissivity correction and the display unit, so that hosts compute the object's temperatures.
#pragma once

#include <XelPseudoColor/TemperatureRecord.h>
#include <xelfw/IniStore.h>

#include <optional>
#include <string>
#include <vector>

namespace xelfw {

struct CalibrationPoint {
  double grey;    // normalised grey value: grey / 2^bits
  double kelvin;  // apparent temperature at that grey value
};

// The object's conversion (TemperatureRecord.h): a least-squares polynomial a0 + a1·g + a2·g² gives
// the apparent temperature, the emissivity and the background correct it, and an offset and a factor
// turn Kelvin into the display unit. The defaults are the object's.
struct XEL_HOST_API TemperatureCalibration {
  double a0 = kDefaultA0;
  double a1 = kDefaultA1;
  double a2 = kDefaultA2;
  double epsilon = TemperatureKeyDefault(&TTemperatureSettings::Epsilon);
  double bgTempKelvin = TemperatureKeyDefault(&TTemperatureSettings::BgTempKelvin);
  double kelvinToUnitOfs = TemperatureKeyDefault(&TTemperatureSettings::KelvinToUnitOfs);
  double kelvinToUnitMult = TemperatureKeyDefault(&TTemperatureSettings::KelvinToUnitMult);
  std::string unitDesc = kDefaultTemperatureUnit;  // Windows-1252, as the object keeps it
  std::vector<CalibrationPoint> points;            // empty: the default line

  // The object's record of these settings; a unit text longer than the record holds is cut.
  TTemperatureSettings Record() const;
  // The numbers of a record, the unit text up to its NUL; the points stay as they are.
  void SetFromRecord(const TTemperatureSettings& record);

  // The temperature in the display unit of a normalised grey value, computed exactly as the object
  // computes it; nothing where the object shows "- N.A. -".
  std::optional<double> Temperature(double normalisedGrey) const;
  // The section the object imports: the points and the five keys, values written to read back exactly.
  void WriteTo(IniStore& store, const std::string& section) const;
};

}  // namespace xelfw
