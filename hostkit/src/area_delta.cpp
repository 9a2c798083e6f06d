// Differences of two areas' readings.
#include <xelhost/area_delta.h>

#include <xelhost/errors.h>

namespace xelhost {

namespace {

std::optional<std::size_t> AreaNamed(const std::vector<MeasurementArea>& areas, std::string_view name) {
  for (std::size_t i = 0; i < areas.size(); ++i)
    if (areas[i].name == name) return i;
  return std::nullopt;
}

AreaDelta ParseDelta(const std::string& text, const std::vector<MeasurementArea>& areas) {
  std::optional<AreaDelta> found;
  for (std::size_t dash = text.find('-'); dash != std::string::npos; dash = text.find('-', dash + 1)) {
    const auto first = AreaNamed(areas, std::string_view(text).substr(0, dash));
    const auto second = AreaNamed(areas, std::string_view(text).substr(dash + 1));
    if (!first || !second) continue;
    if (found) throw UsageError("--delta " + text + ": names two areas in more than one way");
    found = AreaDelta{text, *first, *second};
  }
  if (!found) throw UsageError("--delta " + text + ": expected A-B, A and B being names of the areas measured");
  return *found;
}

std::optional<double> Difference(const std::optional<double>& a, const std::optional<double>& b) {
  if (!a || !b) return std::nullopt;
  return *a - *b;
}

std::optional<double> TemperatureOf(const std::optional<PixelTemperature>& pixel) {
  if (!pixel) return std::nullopt;
  return pixel->temperature;
}

}  // namespace

std::vector<AreaDelta> ParseDeltas(const Arguments& args, const std::vector<MeasurementArea>& areas) {
  std::vector<AreaDelta> deltas;
  for (const std::string& text : args.Values(kDeltaOption.name)) deltas.push_back(ParseDelta(text, areas));
  return deltas;
}

DeltaValues MeasureDelta(const AreaStatistics& first, const AreaStatistics& second) {
  return {Difference(first.mean, second.mean), Difference(TemperatureOf(first.hottest), TemperatureOf(second.hottest)),
          Difference(TemperatureOf(first.coldest), TemperatureOf(second.coldest))};
}

}  // namespace xelhost
