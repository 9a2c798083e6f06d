// The fields of one area's reading, with their printed forms.
#include <xelhost/area_record.h>
#include <xelhost/framework_types.h>

#include <array>
#include <charconv>
#include <cstdio>

namespace xelhost {

namespace {

// The shortest text that reads back as the same double.
std::string Exact(double value) {
  std::array<char, 32> text{};
  const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() ? std::string(text.data(), end) : std::string();
}

RecordField Text(std::string_view name, const std::string& value) { return {name, value, value}; }

RecordField Count(std::string_view name, std::uint64_t value) { return {name, value, std::to_string(value)}; }

RecordField Number(std::string_view name, const std::optional<double>& value) {
  if (!value) return {name, std::monostate{}, std::nullopt};
  return {name, *value, Exact(*value)};
}

// The object's field text, whose number is what it printed; "- N.A. -" is not available.
RecordField ObjectField(std::string_view name, const std::string& text) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {name, std::monostate{}, {}};
  return {name, value, text};
}

RecordField MeanGrey(double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.6f", value);
  return {"mean_grey", value, text};
}

RecordField Coordinate(std::string_view name, const std::optional<PixelTemperature>& pixel, bool x) {
  if (!pixel) return {name, std::monostate{}, std::nullopt};
  return Count(name, x ? pixel->x : pixel->y);
}

std::optional<double> TemperatureOf(const std::optional<PixelTemperature>& pixel) {
  if (!pixel) return std::nullopt;
  return pixel->temperature;
}

}  // namespace

std::vector<RecordField> AreaRecord(const AreaReading& r) {
  const AreaStatistics& s = r.statistics;
  return {Text("kind", "area"),
          Text("area", r.area.name),
          Text("shape", ShapeText(r.area.shape)),
          Count("x", s.bounds.left),
          Count("y", s.bounds.top),
          Count("width", s.bounds.width),
          Count("height", s.bounds.height),
          Count("pixels", s.pixels),
          Count("unavailable", s.unavailable),
          Count("saturated", s.saturated),
          Count("below_calibration", s.belowCalibration),
          Count("above_calibration", s.aboveCalibration),
          MeanGrey(r.reading.meanGrey),
          ObjectField("epsilon", r.reading.epsilon),
          ObjectField("temperature", r.reading.temperature),
          Number("mean_temperature", s.temperature),
          Number("mean", s.mean),
          Number("min", TemperatureOf(s.coldest)),
          Number("max", TemperatureOf(s.hottest)),
          Number("std", s.standardDeviation),
          Coordinate("coldest_x", s.coldest, true),
          Coordinate("coldest_y", s.coldest, false),
          Coordinate("hottest_x", s.hottest, true),
          Coordinate("hottest_y", s.hottest, false),
          Text("unit", r.reading.unit)};
}

std::vector<RecordField> LineSampleRecord(const LineProfile& profile, const ProfileLine& line, const LineSample& sample,
                                          const std::string& unit) {
  return {Text("kind", "line"),
          Text("area", profile.name),
          Text("shape", LineText(line)),
          Count("index", sample.index),
          Count("x", sample.x),
          Count("y", sample.y),
          Count("grey", sample.grey),
          Count("pixels", profile.pixels),
          Count("unavailable", profile.unavailable),
          Count("saturated", profile.saturated),
          Count("below_calibration", profile.belowCalibration),
          Count("above_calibration", profile.aboveCalibration),
          Number("temperature", sample.temperature),
          Number("mean", profile.mean),
          Number("min", profile.min),
          Number("max", profile.max),
          Number("std", profile.standardDeviation),
          Text("unit", unit)};
}

std::vector<RecordField> DeltaRecord(const AreaDelta& delta, const DeltaValues& values, const std::string& unit) {
  return {Text("kind", "delta"),     Text("area", delta.name),  Number("mean", values.mean),
          Number("min", values.min), Number("max", values.max), Text("unit", unit)};
}

std::vector<std::string_view> RecordColumns() {
  return {"kind",
          "area",
          "shape",
          "index",
          "x",
          "y",
          "width",
          "height",
          "grey",
          "pixels",
          "unavailable",
          "saturated",
          "below_calibration",
          "above_calibration",
          "mean_grey",
          "epsilon",
          "temperature",
          "mean_temperature",
          "mean",
          "min",
          "max",
          "std",
          "coldest_x",
          "coldest_y",
          "hottest_x",
          "hottest_y",
          "unit"};
}

}  // namespace xelhost
