// --delta A-B: the differences of two areas' temperatures, frame by frame.
#pragma once

#include <xelhost/AreaStatistics.h>
#include <xelhost/arguments.h>
#include <xelhost/framework_types.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace xelhost {

inline constexpr OptionSpec kDeltaOption{"delta", true, true};

struct AreaDelta {
  std::string name;        // "A-B"
  std::size_t first = 0;   // A's place among the areas
  std::size_t second = 0;  // B's
};

// Every --delta A-B in the order given, A and B being names of the areas (which may hold '-'
// themselves: the one split into two known names is taken). Throws UsageError for a text that names
// no two areas, or two areas in more than one way.
std::vector<AreaDelta> ParseDeltas(const Arguments& args, const std::vector<MeasurementArea>& areas);

// A's value minus B's: the mean of the pixels' temperatures, the maximum and the minimum; nothing
// where either has none.
struct DeltaValues {
  std::optional<double> mean;
  std::optional<double> max;
  std::optional<double> min;
};

XEL_HOST_API DeltaValues MeasureDelta(const AreaStatistics& first, const AreaStatistics& second);

}  // namespace xelhost
