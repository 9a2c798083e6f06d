// The object's conversion for hosts, and the section it imports.
#include <xelfw/TemperatureCalibration.h>

#include <algorithm>
#include <cstring>

namespace xelfw {

TTemperatureSettings TemperatureCalibration::Record() const {
  TTemperatureSettings record{};
  record.Epsilon = epsilon;
  record.BgTempKelvin = bgTempKelvin;
  record.a0 = a0;
  record.a1 = a1;
  record.a2 = a2;
  record.KelvinToUnitOfs = kelvinToUnitOfs;
  record.KelvinToUnitMult = kelvinToUnitMult;
  std::memcpy(record.UnitDesc, unitDesc.data(), std::min(unitDesc.size(), sizeof record.UnitDesc - 1));
  return record;
}

void TemperatureCalibration::SetFromRecord(const TTemperatureSettings& record) {
  epsilon = record.Epsilon;
  bgTempKelvin = record.BgTempKelvin;
  a0 = record.a0;
  a1 = record.a1;
  a2 = record.a2;
  kelvinToUnitOfs = record.KelvinToUnitOfs;
  kelvinToUnitMult = record.KelvinToUnitMult;
  unitDesc.assign(record.UnitDesc, strnlen(record.UnitDesc, sizeof record.UnitDesc));
}

std::optional<double> TemperatureCalibration::Temperature(double g) const {
  return TemperatureOfNormalisedGrey(Record(), g);
}

void TemperatureCalibration::WriteTo(IniStore& store, const std::string& section) const {
  for (std::size_t k = 0; k < points.size(); ++k) {
    store.SetString(section, kTemperaturePointKeyPrefix + std::to_string(k),
                    FormatIniDouble(points[k].grey) + "," + FormatIniDouble(points[k].kelvin));
  }
  const TTemperatureSettings record = Record();
  for (const TTemperatureKey& key : kTemperatureKeys) {
    if (key.number != nullptr)
      store.SetDouble(section, key.name, record.*key.number);
    else
      store.SetString(section, key.name, unitDesc);
  }
}

}  // namespace xelfw
