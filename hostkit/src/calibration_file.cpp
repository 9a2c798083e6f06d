// Strict reading of temperature calibration files.
#include <xelfw/TextEncoding.h>
#include <xelhost/CalibrationFile.h>

#include "calibration_fit.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

namespace xelhost {

namespace {

// A key of the calibration's section with the line it was read from, for the messages.
struct Line {
  std::size_t number;
  std::string key;
  std::string value;
};

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

class Reader {
 public:
  explicit Reader(std::string sourceName) : m_Source(std::move(sourceName)) {}

  [[noreturn]] void Fail(std::size_t line, const std::string& what) const {
    throw CalibrationError(m_Source + ":" + std::to_string(line) + ": " + what);
  }
  [[noreturn]] void Fail(const std::string& what) const { throw CalibrationError(m_Source + ": " + what); }

  double Number(const Line& line, std::string_view text) const {
    const std::optional<double> value = xelfw::ParseIniDouble(text);
    if (!value || !std::isfinite(*value)) Fail(line.number, line.key + ": '" + line.value + "' is not a finite number");
    return *value;
  }

 private:
  std::string m_Source;
};

// The prefix and a number written as the object writes it ("%u"): no sign, no leading zero.
std::optional<unsigned> PointIndex(const std::string& key) {
  const std::string lower = Lower(key);
  const std::string prefix = Lower(kTemperaturePointKeyPrefix);
  if (!lower.starts_with(prefix)) return std::nullopt;
  const std::string_view digits = std::string_view(lower).substr(prefix.size());
  if (digits.empty() || (digits.size() > 1 && digits.front() == '0')) return std::nullopt;
  unsigned index = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return index;
}

const TTemperatureKey* FindTemperatureKey(const std::string& name) {
  for (const TTemperatureKey& key : kTemperatureKeys)
    if (Lower(key.name) == Lower(name)) return &key;
  return nullptr;
}

std::string KnownKeys() {
  std::string known = std::string(kTemperaturePointKeyPrefix) + "0, " + kTemperaturePointKeyPrefix + "1, ...";
  for (const TTemperatureKey& key : kTemperatureKeys) known += std::string(", ") + key.name;
  return known;
}

std::string FindSection(const Reader& reader, const xelfw::IniStore& store, const std::string& name) {
  if (store.HasSection(name)) return name;
  const std::vector<std::string> sections = store.Sections();
  if (sections.size() == 1) return sections.front();
  reader.Fail("no [" + name + "] section with the calibration");
}

// The host's demands on the object's numbers, beyond what the object's conversion accepts.
void CheckNumber(const Reader& reader, const Line& line, double TTemperatureSettings::*number, double value) {
  if (number == &TTemperatureSettings::Epsilon && !(value > 0.0 && value <= 1.0)) {
    reader.Fail(line.number, "Epsilon " + line.value + " lies outside (0, 1]");
  }
  if (number == &TTemperatureSettings::BgTempKelvin && !(value > 0.0)) {
    reader.Fail(line.number, "BgTempKelvin must be above 0 K");
  }
  // A unit that fell as the temperature rose would turn every window and scale upside down.
  if (number == &TTemperatureSettings::KelvinToUnitMult && !(value > 0.0)) {
    reader.Fail(line.number, "KelvinToUnitMult must be above 0");
  }
}

std::string UnitText(const Reader& reader, const Line& line) {
  const std::optional<std::string> unit = Utf8ToCp1252(line.value);
  if (!unit) reader.Fail(line.number, "UnitDesc '" + line.value + "' has characters Windows-1252 cannot write");
  constexpr std::size_t kUnitDescBytes = sizeof TTemperatureSettings::UnitDesc;  // NUL included
  if (unit->size() >= kUnitDescBytes) {
    reader.Fail(line.number, "UnitDesc is longer than " + std::to_string(kUnitDescBytes - 1) + " bytes");
  }
  return *unit;
}

CalibrationPoint Point(const Reader& reader, const Line& line) {
  const std::string_view value = line.value;
  const std::size_t comma = value.find(',');
  if (comma == std::string_view::npos || value.find(',', comma + 1) != std::string_view::npos) {
    reader.Fail(line.number, line.key + ": '" + line.value +
                                 "' is not two numbers separated by a comma (grey value, Kelvin; '.' as the "
                                 "decimal point)");
  }
  const CalibrationPoint point{reader.Number(line, value.substr(0, comma)),
                               reader.Number(line, value.substr(comma + 1))};
  if (point.grey < 0.0 || point.grey > 1.0) {
    reader.Fail(line.number, line.key + ": grey value " + FormatIniDouble(point.grey) +
                                 " lies outside 0..1 (a grey value divided by 2^bits)");
  }
  if (!(point.kelvin > 0.0)) reader.Fail(line.number, line.key + ": a temperature in Kelvin must be above 0");
  return point;
}

void Fit(const Reader& reader, TemperatureCalibration& calibration) {
  const std::size_t n = calibration.points.size();
  if (n == 1) reader.Fail("one calibration point fits no curve: give none (the default line) or two or more");
  if (n == 0) return;
  const CalibrationFit fit = FitCalibrationPoints(calibration.points);
  if (!fit.solved) reader.Fail("the calibration points fit no curve: " + fit.problem);
  if (!(fit.condition <= kMaxCalibrationCondition)) {
    char detail[160];
    std::snprintf(detail, sizeof detail,
                  "the calibration fit is too ill-conditioned to trust (condition number %.3g above %.0e): "
                  "spread the points' grey values further apart",
                  fit.condition, kMaxCalibrationCondition);
    reader.Fail(detail);
  }
  calibration.a0 = fit.a0;
  calibration.a1 = fit.a1;
  calibration.a2 = fit.a2;
}

}  // namespace

TemperatureCalibration ParseCalibration(std::string_view bytes, const std::string& sourceName,
                                        const std::string& name) {
  const Reader reader(sourceName);
  xelfw::IniStore store;
  try {
    store = xelfw::IniStore::Parse(DecodeTextFile(bytes), sourceName, xelfw::IniSyntax::Strict);
  } catch (const xelfw::IniError& error) {
    throw CalibrationError(error.what());
  }
  const std::string section = FindSection(reader, store, name);

  TemperatureCalibration calibration;
  TTemperatureSettings record = calibration.Record();
  std::string unit = calibration.unitDesc;
  std::map<unsigned, Line> points;
  for (const std::string& key : store.Keys(section)) {
    const Line line{*store.LineOf(section, key), key, *store.GetString(section, key)};
    if (const auto index = PointIndex(key)) {
      points.emplace(*index, line);
    } else if (const TTemperatureKey* known = FindTemperatureKey(key); known == nullptr) {
      reader.Fail(line.number, "'" + key + "' is not a calibration key (" + KnownKeys() + ")");
    } else if (known->number != nullptr) {
      record.*known->number = reader.Number(line, line.value);
      CheckNumber(reader, line, known->number, record.*known->number);
    } else {
      unit = UnitText(reader, line);
    }
  }
  calibration.SetFromRecord(record);
  calibration.unitDesc = unit;

  unsigned expected = 0;
  for (const auto& [index, line] : points) {
    if (index != expected) {
      reader.Fail(line.number, line.key + " follows a gap: " + kTemperaturePointKeyPrefix + std::to_string(expected) +
                                   " is missing");
    }
    ++expected;
    calibration.points.push_back(Point(reader, line));
  }
  Fit(reader, calibration);
  return calibration;
}

TemperatureCalibration ReadCalibrationFile(const std::filesystem::path& file, const std::string& section) {
  std::string bytes;
  try {
    bytes = xelfw::IniStore::ReadFile(file);
  } catch (const xelfw::IniError& error) {
    throw CalibrationError(error.what());
  }
  return ParseCalibration(bytes, file.string(), section);
}

}  // namespace xelhost
