// Formatting of temperature readings.
#include <xelhost/temperature_report.h>

#include <xelhost/area_record.h>

#include <algorithm>
#include <array>
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

std::string Exact(double value) {
  std::array<char, 32> text{};
  const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() ? std::string(text.data(), end) : std::string();
}

void PrintJson(const std::vector<RecordField>& record, const ReadingOrigin& origin) {
  std::string line = "{\"frame\": " + std::to_string(origin.frame) + ", \"source\": " + JsonString(origin.source) +
                     ", \"page\": " + std::to_string(origin.page) +
                     ", \"time\": " + (origin.time ? Exact(*origin.time) : "null");
  for (const RecordField& field : record) {
    line += ", \"" + std::string(field.name) + "\": ";
    if (!field.printed) {
      line += "null";
    } else {
      line += field.text() ? JsonString(*field.printed) : *field.printed;
    }
  }
  std::printf("%s}\n", line.c_str());
}

void PrintCsv(const std::vector<RecordField>& record, const ReadingOrigin& origin) {
  std::string line = CsvField(origin.source) + "," + std::to_string(origin.frame) + "," + std::to_string(origin.page) +
                     "," + (origin.time ? Exact(*origin.time) : "");
  for (const std::string_view column : RecordColumns()) {
    const auto field =
        std::find_if(record.begin(), record.end(), [&](const RecordField& f) { return f.name == column; });
    line += "," + (field != record.end() ? CsvField(field->printed.value_or("")) : std::string());
  }
  std::printf("%s\r\n", line.c_str());
}

void PrintRecord(const std::vector<RecordField>& record, const ReadingOrigin& origin, ReportFormat format) {
  if (format == ReportFormat::kJson) PrintJson(record, origin);
  if (format == ReportFormat::kCsv) PrintCsv(record, origin);
}

// "; 100 without a temperature; 12 saturated; 40 beyond the calibration (10 below, 30 above)", each
// part only when its count is not zero.
std::string DoubtfulPixels(const TemperatureTally& t) {
  std::string text;
  if (t.unavailable > 0) text += "; " + std::to_string(t.unavailable) + " without a temperature";
  if (t.saturated > 0) text += "; " + std::to_string(t.saturated) + " saturated";
  if (t.belowCalibration + t.aboveCalibration > 0) {
    text += "; " + std::to_string(t.belowCalibration + t.aboveCalibration) + " beyond the calibration (" +
            std::to_string(t.belowCalibration) + " below, " + std::to_string(t.aboveCalibration) + " above)";
  }
  return text;
}

// " (SOURCE page P)" and " (at T s)" where they apply, and the end of the line.
void PrintTextEnd(const ReadingOrigin& origin) {
  if (origin.named) std::printf(" (%s page %u)", origin.source.c_str(), origin.page);
  if (origin.time) std::printf(" (at %.6f s)", *origin.time);
  std::printf("\n");
}

void PrintText(const AreaReading& r, const ReadingOrigin& origin) {
  const xelhost::AreaStatistics& s = r.statistics;
  const bool known = FieldNumber(r.reading.temperature).has_value();
  std::printf(
      "frame %zu%s%s: mean grey %.2f, epsilon %s, temperature %s%s%s (of the mean grey), pixels' mean %s, "
      "min %s, max %s, std %s%s",
      origin.frame, r.areaNamed ? " " : "", r.areaNamed ? r.area.name.c_str() : "", r.reading.meanGrey,
      r.reading.epsilon.c_str(), r.reading.temperature.c_str(), known ? " " : "", known ? r.reading.unit.c_str() : "",
      Rounded(s.mean, "%.1f").c_str(), Rounded(TemperatureOf(s.coldest), "%.1f").c_str(),
      Rounded(TemperatureOf(s.hottest), "%.1f").c_str(), Rounded(s.standardDeviation, "%.2f").c_str(),
      DoubtfulPixels(s).c_str());
  PrintTextEnd(origin);
}

}  // namespace

void PrintCsvHeader() {
  std::string line = "file,frame,page,time";
  for (const std::string_view column : RecordColumns()) line += "," + std::string(column);
  std::printf("%s\r\n", line.c_str());
}

void PrintAreaReading(const AreaReading& reading, const ReadingOrigin& origin, ReportFormat format) {
  if (format == ReportFormat::kText) {
    PrintText(reading, origin);
  } else {
    PrintRecord(AreaRecord(reading), origin, format);
  }
  std::fflush(stdout);
}

void PrintLineProfile(const LineProfile& profile, const ProfileLine& line, const std::string& unit,
                      const ReadingOrigin& origin, ReportFormat format) {
  if (format == ReportFormat::kText) {
    std::printf("frame %zu %s: line of %zu pixels, min %s, max %s, mean %s %s%s", origin.frame, profile.name.c_str(),
                profile.pixels, Rounded(profile.min, "%.1f").c_str(), Rounded(profile.max, "%.1f").c_str(),
                Rounded(profile.mean, "%.1f").c_str(), unit.c_str(), DoubtfulPixels(profile).c_str());
    PrintTextEnd(origin);
  } else {
    for (const LineSample& sample : profile.samples)
      PrintRecord(LineSampleRecord(profile, line, sample, unit), origin, format);
  }
  std::fflush(stdout);
}

void PrintDelta(const AreaDelta& delta, const DeltaValues& values, const std::string& unit, const ReadingOrigin& origin,
                ReportFormat format) {
  if (format == ReportFormat::kText) {
    std::printf("frame %zu %s: difference of the pixels' means %s, of the maxima %s, of the minima %s %s", origin.frame,
                delta.name.c_str(), Rounded(values.mean, "%.1f").c_str(), Rounded(values.max, "%.1f").c_str(),
                Rounded(values.min, "%.1f").c_str(), unit.c_str());
    PrintTextEnd(origin);
  } else {
    PrintRecord(DeltaRecord(delta, values, unit), origin, format);
  }
  std::fflush(stdout);
}

}  // namespace xelhost
