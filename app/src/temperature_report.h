// Output of the temperature command: text lines for people, JSON for programs.
#pragma once

#include "plugin_objects.h"

#include <vector>

namespace xelimg {

// Text: "frame N: mean grey G, epsilon E, temperature T UNIT" a line. JSON: one object with the
// unit and a "frames" array; a temperature the object could not compute is null there.
void PrintTemperatureReport(const std::vector<TemperatureReading>& readings, bool json);

}  // namespace xelimg
