#include "temperature/settings.h"

#include <cstring>

int UnitDescLength(const TTemperatureSettings& settings) {
  return static_cast<int>(strnlen(settings.UnitDesc, sizeof settings.UnitDesc));
}
