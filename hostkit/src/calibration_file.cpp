// Strict reading of temperature calibration files.
#include <xelhost/framework_types.h>
#include <xelhost/CalibrationFile.h>
#include <xelfw/TextEncoding.h>

#include "calibration_fit.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

namespace xelhost {

namespace {

constexpr std::size_t kUnitDescBytes = 32;  // the object's field, NUL included

struct Line {
  int number;
  std::string key;
  std::string value;
};

struct Section {
  std::string name;
  int headerLine;
  std::vector<Line> lines;
};

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

class Reader {
 public:
  Reader(std::string sourceName) : m_Source(std::move(sourceName)) {}

  [[noreturn]] void Fail(int line, const std::string& what) const {
    throw CalibrationError(m_Source + ":" + std::to_string(line) + ": " + what);
  }
  [[noreturn]] void Fail(const std::string& what) const { throw CalibrationError(m_Source + ": " + what); }

  // The INI syntax the framework's store reads, keeping line numbers and every occurrence of a key.
  std::vector<Section> Sections(const std::string& text) const {
    std::vector<Section> sections;
    int number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
      const std::size_t end = std::min(text.find('\n', start), text.size());
      const std::string_view line = Trim(std::string_view(text).substr(start, end - start));
      ++number;
      start = end + 1;
      if (line.empty() || line.front() == ';' || line.front() == '#') continue;
      if (line.front() == '[') {
        if (line.back() != ']') Fail(number, "section header without ']'");
        sections.push_back({std::string(Trim(line.substr(1, line.size() - 2))), number, {}});
        continue;
      }
      const std::size_t equals = line.find('=');
      if (equals == std::string_view::npos) Fail(number, "expected KEY=VALUE");
      if (sections.empty()) Fail(number, "key outside a section");
      std::string_view value = Trim(line.substr(equals + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
      sections.back().lines.push_back({number, std::string(Trim(line.substr(0, equals))), std::string(value)});
    }
    return sections;
  }

  double Number(const Line& line, std::string_view text) const {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
      Fail(line.number, line.key + ": '" + line.value + "' is not a finite number");
    }
    return value;
  }

 private:
  std::string m_Source;
};

// "Point_" and a number written as the object writes it ("%u"): no sign, no leading zero.
std::optional<unsigned> PointIndex(const std::string& key) {
  const std::string lower = Lower(key);
  if (!lower.starts_with("point_")) return std::nullopt;
  const std::string_view digits = std::string_view(lower).substr(6);
  if (digits.empty() || (digits.size() > 1 && digits.front() == '0')) return std::nullopt;
  unsigned index = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return index;
}

const Section& FindSection(const Reader& reader, const std::vector<Section>& sections, const std::string& name) {
  const std::string wanted = Lower(name);
  for (const Section& section : sections) {
    if (Lower(section.name) == wanted) return section;
  }
  if (sections.size() == 1) return sections.front();
  reader.Fail("no [" + name + "] section with the calibration");
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

TemperatureCalibration ParseCalibration(std::string_view bytes, const std::string& sourceName, const std::string& name) {
  const Reader reader(sourceName);
  const std::string text = DecodeTextFile(bytes);
  const std::vector<Section> sections = reader.Sections(text);
  const Section& section = FindSection(reader, sections, name);

  TemperatureCalibration calibration;
  std::map<unsigned, const Line*> points;
  std::map<std::string, const Line*> seen;
  for (const Line& line : section.lines) {
    const std::string key = Lower(line.key);
    if (const auto index = PointIndex(line.key)) {
      if (const auto [at, fresh] = points.emplace(*index, &line); !fresh) {
        reader.Fail(line.number, line.key + " given twice (first on line " + std::to_string(at->second->number) + ")");
      }
      continue;
    }
    if (const auto [at, fresh] = seen.emplace(key, &line); !fresh) {
      reader.Fail(line.number, line.key + " given twice (first on line " + std::to_string(at->second->number) + ")");
    }
    if (key == "epsilon") {
      calibration.epsilon = reader.Number(line, line.value);
      if (!(calibration.epsilon > 0.0 && calibration.epsilon <= 1.0)) {
        reader.Fail(line.number, "Epsilon " + line.value + " lies outside (0, 1]");
      }
    } else if (key == "bgtempkelvin") {
      calibration.bgTempKelvin = reader.Number(line, line.value);
      if (!(calibration.bgTempKelvin > 0.0)) reader.Fail(line.number, "BgTempKelvin must be above 0 K");
    } else if (key == "kelvintounitofs") {
      calibration.kelvinToUnitOfs = reader.Number(line, line.value);
    } else if (key == "kelvintounitmult") {
      calibration.kelvinToUnitMult = reader.Number(line, line.value);
      // A unit that fell as the temperature rose would turn every window and scale upside down.
      if (!(calibration.kelvinToUnitMult > 0.0)) reader.Fail(line.number, "KelvinToUnitMult must be above 0");
    } else if (key == "unitdesc") {
      const std::optional<std::string> unit = Utf8ToCp1252(line.value);
      if (!unit) reader.Fail(line.number, "UnitDesc '" + line.value + "' has characters Windows-1252 cannot write");
      if (unit->size() >= kUnitDescBytes) {
        reader.Fail(line.number, "UnitDesc is longer than " + std::to_string(kUnitDescBytes - 1) + " bytes");
      }
      calibration.unitDesc = *unit;
    } else {
      reader.Fail(line.number, "'" + line.key + "' is not a calibration key (Point_0, Point_1, ..., Epsilon, "
                               "BgTempKelvin, UnitDesc, KelvinToUnitOfs, KelvinToUnitMult)");
    }
  }

  unsigned expected = 0;
  for (const auto& [index, line] : points) {
    if (index != expected) {
      reader.Fail(line->number, line->key + " follows a gap: Point_" + std::to_string(expected) + " is missing");
    }
    ++expected;
    const std::string_view value = line->value;
    const std::size_t comma = value.find(',');
    if (comma == std::string_view::npos || value.find(',', comma + 1) != std::string_view::npos) {
      reader.Fail(line->number, line->key + ": '" + line->value +
                                    "' is not two numbers separated by a comma (grey value, Kelvin; '.' as the "
                                    "decimal point)");
    }
    const CalibrationPoint point{reader.Number(*line, value.substr(0, comma)), reader.Number(*line, value.substr(comma + 1))};
    if (point.grey < 0.0 || point.grey > 1.0) {
      reader.Fail(line->number, line->key + ": grey value " + FormatIniDouble(point.grey) +
                                    " lies outside 0..1 (a grey value divided by 2^bits)");
    }
    if (!(point.kelvin > 0.0)) reader.Fail(line->number, line->key + ": a temperature in Kelvin must be above 0");
    calibration.points.push_back(point);
  }
  Fit(reader, calibration);
  return calibration;
}

TemperatureCalibration ReadCalibrationFile(const std::filesystem::path& file, const std::string& section) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw CalibrationError(file.string() + ": cannot open: " + std::strerror(errno));
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw CalibrationError(file.string() + ": cannot read");
  return ParseCalibration(bytes, file.string(), section);
}

}  // namespace xelhost
