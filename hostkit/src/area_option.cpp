// Reading the areas of --aoi.
#include <xelhost/area_option.h>

#include <xelhost/errors.h>

#include <array>
#include <set>
#include <sstream>

namespace xelhost {

namespace {

xelhost::MeasurementArea ParseArea(const std::string& option, std::size_t position) {
  const std::size_t equals = option.find('=');
  const std::string name =
      equals == std::string::npos ? "aoi" + std::to_string(position + 1) : option.substr(0, equals);
  const std::string text = equals == std::string::npos ? option : option.substr(equals + 1);
  if (name.empty()) throw UsageError("--aoi " + option + ": the name before '=' is empty");
  std::array<unsigned, 4> v{};
  std::stringstream in(text);
  std::string part;
  std::size_t count = 0;
  while (std::getline(in, part, ',')) {
    if (count == v.size()) throw UsageError("--aoi: expected X,Y,W,H, got '" + text + "'");
    v[count++] = ParseUnsignedOption("aoi", part);
  }
  if (count != v.size()) throw UsageError("--aoi: expected X,Y,W,H, got '" + text + "'");
  const auto [x, y, w, h] = v;
  if (w == 0 || h == 0) throw UsageError("--aoi " + option + " is empty");
  return {name, x, y, w, h};
}

}  // namespace

std::vector<xelhost::MeasurementArea> ParseAreas(const Arguments& args) {
  const std::vector<std::string> options = args.Values("aoi");
  std::vector<xelhost::MeasurementArea> areas;
  std::set<std::string> names;
  for (std::size_t i = 0; i < options.size(); ++i) {
    areas.push_back(ParseArea(options[i], i));
    if (!names.insert(areas.back().name).second)
      throw UsageError("--aoi: the name '" + areas.back().name + "' is given twice");
  }
  return areas;
}

std::vector<xelhost::MeasurementArea> AreasOf(const std::vector<xelhost::MeasurementArea>& given,
                                              const xelfw::Image& image) {
  if (!given.empty()) return given;
  return {{std::string(kWholeImage), 0, 0, image.Width(), image.Height()}};
}

void CheckAreasInside(const std::vector<xelhost::MeasurementArea>& areas, const xelfw::Image& image) {
  for (const xelhost::MeasurementArea& area : areas) {
    if (area.left > image.Width() || area.width > image.Width() - area.left || area.top > image.Height() ||
        area.height > image.Height() - area.top) {
      throw UsageError("--aoi does not lie inside the " + std::to_string(image.Width()) + " x " +
                       std::to_string(image.Height()) + " image (" + area.name + ")");
    }
  }
}

bool AreasNamed(const Arguments& args) {
  const std::vector<std::string> options = args.Values(kAreaOption.name);
  return options.size() > 1 || (options.size() == 1 && options[0].find('=') != std::string::npos);
}

}  // namespace xelhost
