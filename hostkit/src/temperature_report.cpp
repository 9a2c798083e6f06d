// Formatting of temperature readings.
#include <xelhost/temperature_report.h>

#include <xelhost/area_record.h>

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

namespace xelhost {

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

namespace {

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

void PrintJson(const AreaReading& reading, const ReadingOrigin& origin) {
  std::string line = "{\"frame\": " + std::to_string(origin.frame) + ", \"source\": " + JsonString(origin.source) +
                     ", \"page\": " + std::to_string(origin.page);
  for (const RecordField& field : AreaRecord(reading)) {
    line += ", \"" + std::string(field.name) + "\": ";
    if (!field.printed) {
      line += "null";
    } else {
      line += field.text() ? JsonString(*field.printed) : *field.printed;
    }
  }
  std::printf("%s}\n", line.c_str());
}

void PrintCsv(const AreaReading& reading, const ReadingOrigin& origin) {
  std::string line = CsvField(origin.source) + "," + std::to_string(origin.frame) + "," + std::to_string(origin.page);
  for (const RecordField& field : AreaRecord(reading)) line += "," + CsvField(field.printed.value_or(""));
  std::printf("%s\r\n", line.c_str());
}

void PrintText(const AreaReading& r, const ReadingOrigin& origin) {
  const xelhost::AreaStatistics& s = r.statistics;
  const bool known = FieldNumber(r.reading.temperature).has_value();
  std::printf("frame %zu%s%s: mean grey %.2f, epsilon %s, temperature %s%s%s, min %s, max %s, std %s", origin.frame,
              r.areaNamed ? " " : "", r.areaNamed ? r.area.name.c_str() : "", r.reading.meanGrey,
              r.reading.epsilon.c_str(), r.reading.temperature.c_str(), known ? " " : "",
              known ? r.reading.unit.c_str() : "", Rounded(TemperatureOf(s.coldest), "%.1f").c_str(),
              Rounded(TemperatureOf(s.hottest), "%.1f").c_str(), Rounded(s.standardDeviation, "%.2f").c_str());
  if (origin.named) std::printf(" (%s page %u)", origin.source.c_str(), origin.page);
  std::printf("\n");
}

}  // namespace

void PrintCsvHeader() {
  const xelhost::MeasurementArea area;
  const TemperatureReading reading;
  const xelhost::AreaStatistics statistics;
  std::string line = "file,frame,page";
  for (const RecordField& field : AreaRecord({area, reading, statistics, false})) line += "," + std::string(field.name);
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
