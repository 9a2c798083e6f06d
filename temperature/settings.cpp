#include "temperature/settings.h"

#include <cstring>

TTemperatureSettings DefaultTemperatureSettings() {
  TTemperatureSettings settings{};
  for (const TTemperatureKey& key : kTemperatureKeys)
    if (key.number != nullptr) settings.*key.number = key.defaultValue;
  settings.a0 = kDefaultA0;
  settings.a1 = kDefaultA1;
  settings.a2 = kDefaultA2;
  std::memcpy(settings.UnitDesc, kDefaultTemperatureUnit, sizeof kDefaultTemperatureUnit);
  return settings;
}

int UnitDescLength(const TTemperatureSettings& settings) {
  return static_cast<int>(strnlen(settings.UnitDesc, sizeof settings.UnitDesc));
}
