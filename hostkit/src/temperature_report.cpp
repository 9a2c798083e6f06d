// Formatting of temperature readings.
#include <xelhost/framework_types.h>
#include <xelhost/temperature_report.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace xelhost {

namespace {

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// A CSV field, quoted only when it must be (RFC 4180).
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// The object's field text when it is a number, else nothing ("- N.A. -").
std::optional<std::string> FieldNumber(const std::string& text) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return text;
}

// The shortest text that reads back as the same double.
std::string Exact(double value) {
  std::array<char, 32> text{};
  const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() ? std::string(text.data(), end) : std::string();
}

std::optional<std::string> Exact(const std::optional<double>& value) {
  if (!value) return std::nullopt;
  return Exact(*value);
}

std::optional<std::string> Coordinate(const std::optional<xelhost::PixelTemperature>& pixel, bool x) {
  if (!pixel) return std::nullopt;
  return std::to_string(x ? pixel->x : pixel->y);
}

std::optional<double> TemperatureOf(const std::optional<xelhost::PixelTemperature>& pixel) {
  if (!pixel) return std::nullopt;
  return pixel->temperature;
}

std::string Rounded(const std::optional<double>& value, const char* format) {
  if (!value) return "- N.A. -";
  char text[48];
  std::snprintf(text, sizeof text, format, *value);
  return text;
}

// The columns of CSV and the keys of JSON after the origin, in one place so the two never differ.
struct Column {
  const char* name;
  std::optional<std::string> value;
  bool text;  // quoted in JSON
};

std::vector<Column> Columns(const AreaReading& r) {
  const xelhost::AreaStatistics& s = r.statistics;
  return {{"area", r.area.name, true},
          {"x", std::to_string(r.area.left), false},
          {"y", std::to_string(r.area.top), false},
          {"width", std::to_string(r.area.width), false},
          {"height", std::to_string(r.area.height), false},
          {"pixels", std::to_string(s.pixels), false},
          {"unavailable", std::to_string(s.unavailable), false},
          {"mean_grey", Rounded(r.reading.meanGrey, "%.6f"), false},
          {"epsilon", FieldNumber(r.reading.epsilon), false},
          {"temperature", FieldNumber(r.reading.temperature), false},
          {"mean_temperature", Exact(s.temperature), false},
          {"min", Exact(TemperatureOf(s.coldest)), false},
          {"max", Exact(TemperatureOf(s.hottest)), false},
          {"std", Exact(s.standardDeviation), false},
          {"coldest_x", Coordinate(s.coldest, true), false},
          {"coldest_y", Coordinate(s.coldest, false), false},
          {"hottest_x", Coordinate(s.hottest, true), false},
          {"hottest_y", Coordinate(s.hottest, false), false},
          {"unit", r.reading.unit, true}};
}

void PrintJson(const AreaReading& reading, const ReadingOrigin& origin) {
  std::string line = "{\"frame\": " + std::to_string(origin.frame) + ", \"source\": " + JsonString(origin.source) +
                     ", \"page\": " + std::to_string(origin.page);
  for (const Column& column : Columns(reading)) {
    line += std::string(", \"") + column.name + "\": ";
    if (!column.value) {
      line += "null";
    } else {
      line += column.text ? JsonString(*column.value) : *column.value;
    }
  }
  std::printf("%s}\n", line.c_str());
}

void PrintCsv(const AreaReading& reading, const ReadingOrigin& origin) {
  std::string line = CsvField(origin.source) + "," + std::to_string(origin.frame) + "," + std::to_string(origin.page);
  for (const Column& column : Columns(reading)) line += "," + CsvField(column.value.value_or(""));
  std::printf("%s\r\n", line.c_str());
}

void PrintText(const AreaReading& r, const ReadingOrigin& origin) {
  const xelhost::AreaStatistics& s = r.statistics;
  const bool known = FieldNumber(r.reading.temperature).has_value();
  std::printf("frame %zu%s%s: mean grey %.2f, epsilon %s, temperature %s%s%s, min %s, max %s, std %s", origin.frame,
              r.areaNamed ? " " : "", r.areaNamed ? r.area.name.c_str() : "", r.reading.meanGrey, r.reading.epsilon.c_str(),
              r.reading.temperature.c_str(), known ? " " : "", known ? r.reading.unit.c_str() : "",
              Rounded(TemperatureOf(s.coldest), "%.1f").c_str(), Rounded(TemperatureOf(s.hottest), "%.1f").c_str(),
              Rounded(s.standardDeviation, "%.2f").c_str());
  if (origin.named) std::printf(" (%s page %u)", origin.source.c_str(), origin.page);
  std::printf("\n");
}

}  // namespace

void PrintCsvHeader() {
  const xelhost::MeasurementArea area;
  const TemperatureReading reading;
  const xelhost::AreaStatistics statistics;
  std::string line = "file,frame,page";
  for (const Column& column : Columns({area, reading, statistics, false})) line += std::string(",") + column.name;
  std::printf("%s\r\n", line.c_str());
}

void PrintAreaReading(const AreaReading& reading, const ReadingOrigin& origin, ReportFormat format) {
  switch (format) {
    case ReportFormat::kJson:
      PrintJson(reading, origin);
      break;
    case ReportFormat::kCsv:
      PrintCsv(reading, origin);
      break;
    case ReportFormat::kText:
      PrintText(reading, origin);
      break;
  }
  std::fflush(stdout);
}

}  // namespace xelhost
