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

void PrintTemperatureReading(const TemperatureReading& reading, const ReadingOrigin& origin, bool json) {
  if (json) {
    std::printf("{\"frame\": %zu, \"source\": %s, \"page\": %u, \"mean_grey\": %.6f, \"epsilon\": %s, "
                "\"temperature\": %s, \"unit\": %s}\n",
                origin.frame, JsonString(origin.source).c_str(), origin.page, reading.meanGrey,
                JsonNumber(reading.epsilon).c_str(), JsonNumber(reading.temperature).c_str(),
                JsonString(reading.unit).c_str());
  } else {
    const bool known = JsonNumber(reading.temperature) != "null";
    std::printf("frame %zu: mean grey %.2f, epsilon %s, temperature %s%s%s", origin.frame, reading.meanGrey,
                reading.epsilon.c_str(), reading.temperature.c_str(), known ? " " : "", known ? reading.unit.c_str() : "");
    if (origin.named) std::printf(" (%s page %u)", origin.source.c_str(), origin.page);
    std::printf("\n");
  }
  std::fflush(stdout);
}

}  // namespace xelimg
