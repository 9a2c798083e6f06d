// Output of the temperature command: text lines for people, JSON Lines for programs.
#pragma once

#include "plugin_objects.h"

#include <cstddef>
#include <string>

namespace xelimg {

// Where a reading comes from.
struct ReadingOrigin {
  std::size_t frame;  // position in the whole run
  std::string source;
  UINT page;
  bool named;  // the run has several inputs: the text line names the source too
};

// Text: "frame N: mean grey G, epsilon E, temperature T UNIT" and, for several inputs,
// " (SOURCE page P)". JSON: one object a line with the frame, source, page, the values and the unit;
// a temperature the object could not compute is null there. Flushed at once, for a reader at the
// other end of a pipe.
void PrintTemperatureReading(const TemperatureReading& reading, const ReadingOrigin& origin, bool json);

}  // namespace xelimg
