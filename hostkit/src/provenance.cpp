// The provenance record: its fields, its block form and the fields every command sets the same way.
#include <xelhost/provenance.h>

#include <xelhost/calibration_option.h>

#include <xelfw/TextEncoding.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>

#ifndef XEL_HOST_VERSION
#error "the build gives the host kit its version"
#endif

namespace xelhost {

namespace {

// ISO 8601 to the millisecond: "2026-12-07T21:30:00.123Z".
std::string UtcTimeNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
  std::snprintf(text + length, sizeof text - length, ".%03dZ", static_cast<int>(millis));
  return text;
}

}  // namespace

void Provenance::Set(std::string_view key, std::string value) {
  std::replace_if(
      value.begin(), value.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  const auto same = std::find_if(m_Fields.begin(), m_Fields.end(), [&](const auto& field) { return field.key == key; });
  if (same != m_Fields.end()) {
    same->value = std::move(value);
  } else {
    m_Fields.push_back({std::string(key), std::move(value)});
  }
}

void Provenance::Append(const Provenance& other) {
  for (const ProvenanceField& field : other.m_Fields) Set(field.key, field.value);
}

const std::string* Provenance::Find(std::string_view key) const {
  const auto found =
      std::find_if(m_Fields.begin(), m_Fields.end(), [&](const auto& field) { return field.key == key; });
  return found == m_Fields.end() ? nullptr : &found->value;
}

std::string Provenance::Block() const {
  std::string block;
  for (const ProvenanceField& field : m_Fields) block += field.key + "=" + field.value + "\n";
  return block;
}

Provenance Provenance::Parse(std::string_view block) {
  Provenance record;
  bool started = false;
  while (!block.empty()) {
    const std::size_t end = std::min(block.find('\n'), block.size());
    const std::string_view line = block.substr(0, end);
    block.remove_prefix(std::min(end + 1, block.size()));
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0) continue;
    started = started || line.substr(0, equals) == "Software";
    if (started) record.Set(line.substr(0, equals), std::string(line.substr(equals + 1)));
  }
  return record;
}

std::string Provenance::Summary() const {
  const auto part = [&](std::string_view key, const std::string& before) {
    const std::string* value = Find(key);
    return value ? before + *value : std::string();
  };
  std::string summary = part("Source", "");
  summary += part("Frame", ", frame ") + part("Profile", ", profile ") + part("Window", ", window ");
  const std::string* unit = Find("Unit");
  if (unit && Find("WindowInUnit")) summary += part("WindowInUnit", " (") + " " + *unit + ")";
  summary += part("Calibration", ", calibration ") + part("Emissivity", ", emissivity ");
  return summary + part("Software", "; made by ");
}

Provenance StartProvenance(std::string_view program) {
  Provenance record;
  record.Set("Software", std::string(program) + " " XEL_HOST_VERSION " (XelPseudoColor)");
  return record;
}

void SetProvenanceSource(Provenance& record, const std::string& input, UINT frame, bool stream) {
  // A file name is bytes; the record is UTF-8, which iTXt and JSON require.
  record.Set("Source", xelfw::IsUtf8(input) ? input : xelfw::Cp1252ToUtf8(input));
  record.Set("Frame", std::to_string(frame));
  if (stream) record.Set("FrameTime", UtcTimeNow());
}

Provenance CalibrationProvenance(const Arguments& args,
                                 const std::optional<xelfw::TemperatureCalibration>& calibration) {
  Provenance record;
  if (!calibration) return record;
  if (const auto file = args.Value(kCalibrationOption.name)) {
    record.Set("Calibration", std::filesystem::path(*file).filename().string());
    record.Set("CalibrationSHA256", FileSha256Hex(*file));
  }
  record.Set("Emissivity", ProvenanceNumber(calibration->epsilon));
  record.Set("Unit", xelfw::Cp1252ToUtf8(calibration->unitDesc));
  return record;
}

std::string ProvenanceNumber(double value) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return error == std::errc() ? std::string(text, end) : std::string("nan");
}

}  // namespace xelhost
