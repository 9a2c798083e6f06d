// Reading the areas of --aoi and --areas, and the lines of --line.
#include <xelhost/area_option.h>

#include <xelhost/errors.h>
#include <xelhost/pixel_line.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>

namespace xelhost {

namespace {

// An areas file is a short list typed by hand; anything far larger is not one.
constexpr std::uintmax_t kMaxAreasFileBytes = 1 << 20;

struct NamedText {
  std::string name;
  std::string text;
};

// [NAME=]TEXT; unnamed: the prefix and the place, counted from 1.
NamedText SplitName(const std::string& option, const std::string& prefix, std::size_t position) {
  const std::size_t equals = option.find('=');
  if (equals == std::string::npos) return {prefix + std::to_string(position + 1), option};
  if (equals == 0) throw UsageError(option + ": the name before '=' is empty");
  return {option.substr(0, equals), option.substr(equals + 1)};
}

xelhost::MeasurementArea ParseArea(const std::string& option, std::size_t position) {
  const NamedText named = SplitName(option, "aoi", position);
  return {named.name, ParseShape(named.text)};
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

template <typename Named>
void CheckNamesOnce(const std::vector<Named>& items, const std::string& option) {
  std::set<std::string> names;
  for (const Named& item : items) {
    if (!names.insert(item.name).second) throw UsageError(option + ": the name '" + item.name + "' is given twice");
  }
}

std::string ImageSize(const xelfw::Image& image) {
  return std::to_string(image.Width()) + " x " + std::to_string(image.Height()) + " image";
}

}  // namespace

std::vector<xelhost::MeasurementArea> ReadAreasFile(const std::string& path, std::size_t firstPosition) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || !std::filesystem::is_regular_file(path, error))
    throw CommandError("--areas " + path + ": not a file that can be read");
  if (size > kMaxAreasFileBytes) throw CommandError("--areas " + path + ": larger than an areas file can be (1 MiB)");
  std::ifstream file(path);
  if (!file) throw CommandError("--areas " + path + ": cannot be opened");
  std::vector<xelhost::MeasurementArea> areas;
  std::string line;
  for (std::size_t number = 1; std::getline(file, line); ++number) {
    const std::string text = Trimmed(line);
    if (text.empty() || text.front() == '#') continue;
    try {
      areas.push_back(ParseArea(text, firstPosition + areas.size()));
    } catch (const UsageError& refusal) {
      throw UsageError(path + ":" + std::to_string(number) + ": " + refusal.what());
    }
  }
  return areas;
}

std::vector<xelhost::MeasurementArea> ParseAreas(const Arguments& args) {
  const std::vector<std::string> options = args.Values(kAreaOption.name);
  std::vector<xelhost::MeasurementArea> areas;
  for (std::size_t i = 0; i < options.size(); ++i) {
    try {
      areas.push_back(ParseArea(options[i], i));
    } catch (const UsageError& error) {
      throw UsageError("--aoi " + std::string(error.what()));
    }
  }
  if (const auto file = args.Value(kAreasFileOption.name)) {
    const std::vector<xelhost::MeasurementArea> listed = ReadAreasFile(*file, areas.size());
    areas.insert(areas.end(), listed.begin(), listed.end());
  }
  CheckNamesOnce(areas, "--aoi");
  return areas;
}

std::vector<xelhost::ProfileLine> ParseLines(const Arguments& args) {
  const std::vector<std::string> options = args.Values(kLineOption.name);
  std::vector<xelhost::ProfileLine> lines;
  for (std::size_t i = 0; i < options.size(); ++i) {
    try {
      const NamedText named = SplitName(options[i], "line", i);
      xelhost::ProfileLine line = ParseLine(named.text);
      line.name = named.name;
      lines.push_back(line);
    } catch (const UsageError& error) {
      throw UsageError("--line " + std::string(error.what()));
    }
  }
  CheckNamesOnce(lines, "--line");
  return lines;
}

std::vector<xelhost::MeasurementArea> AreasOf(const std::vector<xelhost::MeasurementArea>& given,
                                              const xelfw::Image& image) {
  if (!given.empty()) return given;
  return {{std::string(kWholeImage), RectangleShape{0, 0, image.Width(), image.Height()}}};
}

void CheckAreasInside(const std::vector<xelhost::MeasurementArea>& areas, const xelfw::Image& image) {
  for (const xelhost::MeasurementArea& area : areas) {
    if (ShapePixels(area.shape, image.Width(), image.Height()).empty())
      throw UsageError("--aoi has no pixel in the " + ImageSize(image) + " (" + area.name + ")");
  }
}

void CheckLinesInside(const std::vector<xelhost::ProfileLine>& lines, const xelfw::Image& image) {
  const auto inside = [&](const LinePixel& p) {
    return p.x >= 0 && p.y >= 0 && p.x < static_cast<long>(image.Width()) && p.y < static_cast<long>(image.Height());
  };
  for (const xelhost::ProfileLine& line : lines) {
    const std::vector<LinePixel> pixels = LinePixels(line.x1, line.y1, line.x2, line.y2);
    if (std::none_of(pixels.begin(), pixels.end(), inside))
      throw UsageError("--line has no pixel in the " + ImageSize(image) + " (" + line.name + ")");
  }
}

bool AreasNamed(const Arguments& args) {
  const std::vector<std::string> options = args.Values(kAreaOption.name);
  return args.Has(kAreasFileOption.name) || options.size() > 1 ||
         (options.size() == 1 && options[0].find('=') != std::string::npos);
}

}  // namespace xelhost
