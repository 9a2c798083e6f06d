// Settings a careless host or a damaged INI file could hand the objects: the pseudo-colour record with
// NaN, infinities and huge values in its doubles, and INI sections with such numbers in the keys.
#pragma once

#include "fuzz/fuzz_input.h"

#include <xelfw/IniStore.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace fuzz {

inline constexpr std::size_t kSettingsBytes = 128;

// Mostly hostile doubles in every double field and any auto mode; sometimes plain random bytes.
inline std::vector<std::uint8_t> TakeSettingsRecord(Input& in) {
  // The bounds, the unit range and the auto-contrast levels, widths and range.
  constexpr std::size_t kDoubleFields[] = {0, 8, 16, 24, 32, 40, 48, 64, 80};
  constexpr std::size_t kAutoMode = 92, kUnitDesc = 96;
  std::vector<std::uint8_t> record(kSettingsBytes);
  if (in.Pick(4) == 0) {
    for (std::uint8_t& b : record) b = in.Take<std::uint8_t>();
    return record;
  }
  for (std::size_t offset : kDoubleFields) {
    const double value = in.TakeHostileDouble();
    std::memcpy(record.data() + offset, &value, sizeof value);
  }
  const std::uint32_t mode = in.Pick(4);
  std::memcpy(record.data() + kAutoMode, &mode, sizeof mode);
  for (std::size_t i = kUnitDesc; i < kSettingsBytes; ++i) record[i] = in.Take<std::uint8_t>();
  return record;
}

// A few keys of either object, each a hostile number, an integer, or a pair as the calibration
// points are written.
inline void FillHostileIni(xelfw::IniStore& store, const std::string& section, Input& in) {
  constexpr const char* kKeys[] = {"Lower",        "Upper",           "UnitMin",           "UnitMax",
                                   "AutoMode",     "SliderSteps",     "ColorProfileIndex", "Epsilon",
                                   "BgTempKelvin", "KelvinToUnitOfs", "KelvinToUnitMult",  "Point_0",
                                   "Point_1",      "Point_2",         "UnitDesc",          "HostActive"};
  for (unsigned n = in.Pick(6); n > 0; --n) {
    const char* key = kKeys[in.Pick(std::size(kKeys))];
    switch (in.Pick(3)) {
      case 0:
        store.SetDouble(section, key, in.TakeHostileDouble());
        break;
      case 1:
        store.SetInt(section, key, in.Take<std::int32_t>());
        break;
      default:
        store.SetString(
            section, key,
            xelfw::FormatIniDouble(in.TakeHostileDouble()) + "," + xelfw::FormatIniDouble(in.TakeHostileDouble()));
    }
  }
}

}  // namespace fuzz
