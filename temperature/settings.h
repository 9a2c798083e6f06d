// Conversion settings and calibration coefficients of the temperature display object.
#pragma once

#include <cstddef>

struct TTemperatureSettings {
  double Epsilon;       // emissivity; the conversion accepts 0 < Epsilon <= 1
  double BgTempKelvin;  // temperature of the surroundings
  double a0;            // calibration polynomial: Kelvin = (a2 * g + a1) * g + a0
  double a1;
  double a2;
  double KelvinToUnitOfs;  // added to Kelvin before the factor
  double KelvinToUnitMult;
  char UnitDesc[32];  // NUL-terminated, code page 1252
};
static_assert(sizeof(TTemperatureSettings) == 88);
static_assert(offsetof(TTemperatureSettings, UnitDesc) == 56);

// The settings file's keys, one row each, in the order files are written; the defaults, the import
// and the export walk this table. The calibration points have keys of their own ("Point_k").
struct TTemperatureKey {
  const char* name;
  double TTemperatureSettings::*number;  // null: the unit text
  double defaultValue;
};

// 0xB0 is the degree sign in code page 1252, the encoding the host shows texts in.
inline constexpr char kDefaultTemperatureUnit[] = {'\xB0', 'C', '\0'};

inline constexpr TTemperatureKey kTemperatureKeys[] = {
    {"UnitDesc", nullptr, 0.0},
    {"Epsilon", &TTemperatureSettings::Epsilon, 1.0},
    {"BgTempKelvin", &TTemperatureSettings::BgTempKelvin, 293.15},
    {"KelvinToUnitOfs", &TTemperatureSettings::KelvinToUnitOfs, -273.15},
    {"KelvinToUnitMult", &TTemperatureSettings::KelvinToUnitMult, 1.0},
};

// The default line maps grey 0 to 20 degrees Celsius and the top of the grey range to 200.
inline constexpr double kDefaultA0 = 293.15;
inline constexpr double kDefaultA1 = 180.0;
inline constexpr double kDefaultA2 = 0.0;

TTemperatureSettings DefaultTemperatureSettings();

// UnitDesc as text, even when the record holds no terminating NUL in its 32 bytes.
int UnitDescLength(const TTemperatureSettings& settings);
