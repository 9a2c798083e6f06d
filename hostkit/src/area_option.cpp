// Reading the areas of --aoi.
#include <xelhost/area_option.h>

#include <xelhost/errors.h>

#include <set>

namespace xelhost {

namespace {

xelhost::MeasurementArea ParseArea(const std::string& option, std::size_t position) {
  const std::size_t equals = option.find('=');
  const std::string name =
      equals == std::string::npos ? "aoi" + std::to_string(position + 1) : option.substr(0, equals);
  const std::string text = equals == std::string::npos ? option : option.substr(equals + 1);
  if (name.empty()) throw UsageError("--aoi " + option + ": the name before '=' is empty");
  try {
    return {name, ParseShape(text)};
  } catch (const UsageError& error) {
    throw UsageError("--aoi: " + std::string(error.what()));
  }
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
  return {{std::string(kWholeImage), RectangleShape{0, 0, image.Width(), image.Height()}}};
}

void CheckAreasInside(const std::vector<xelhost::MeasurementArea>& areas, const xelfw::Image& image) {
  for (const xelhost::MeasurementArea& area : areas) {
    if (ShapePixels(area.shape, image.Width(), image.Height()).empty()) {
      throw UsageError("--aoi has no pixel in the " + std::to_string(image.Width()) + " x " +
                       std::to_string(image.Height()) + " image (" + area.name + ")");
    }
  }
}

RectangleShape RectangleOf(const xelhost::MeasurementArea& area, const xelfw::Image& image) {
  const auto* rectangle = std::get_if<RectangleShape>(&area.shape);
  if (!rectangle) throw UsageError("--aoi " + area.name + ": only rectangles are measured by the object");
  const std::vector<PixelRun> runs = ShapePixels(*rectangle, image.Width(), image.Height());
  return {runs.front().left, runs.front().y, runs.front().right - runs.front().left, static_cast<UINT>(runs.size())};
}

bool AreasNamed(const Arguments& args) {
  const std::vector<std::string> options = args.Values(kAreaOption.name);
  return options.size() > 1 || (options.size() == 1 && options[0].find('=') != std::string::npos);
}

}  // namespace xelhost
