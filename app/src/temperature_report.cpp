// Formatting of temperature readings.
#include "temperature_report.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace xelimg {

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

// The object's field text when it is a number, else JSON null ("- N.A. -").
std::string JsonNumber(const std::string& text) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return "null";
  return text;
}

}  // namespace

void PrintTemperatureReport(const std::vector<TemperatureReading>& readings, bool json) {
  if (!json) {
    for (std::size_t frame = 0; frame < readings.size(); ++frame) {
      const TemperatureReading& r = readings[frame];
      const bool known = JsonNumber(r.temperature) != "null";
      std::printf("frame %zu: mean grey %.2f, epsilon %s, temperature %s%s%s\n", frame, r.meanGrey, r.epsilon.c_str(),
                  r.temperature.c_str(), known ? " " : "", known ? r.unit.c_str() : "");
    }
    return;
  }
  const std::string unit = readings.empty() ? std::string() : readings.front().unit;
  std::printf("{\"unit\": %s, \"frames\": [", JsonString(unit).c_str());
  for (std::size_t frame = 0; frame < readings.size(); ++frame) {
    const TemperatureReading& r = readings[frame];
    std::printf("%s\n  {\"frame\": %zu, \"mean_grey\": %.6f, \"epsilon\": %s, \"temperature\": %s}", frame == 0 ? "" : ",",
                frame, r.meanGrey, JsonNumber(r.epsilon).c_str(), JsonNumber(r.temperature).c_str());
  }
  std::printf("\n]}\n");
}

}  // namespace xelimg
