// The samples of a line profile through the same table of grey temperatures as the areas.
#include <xelhost/line_profile.h>

#include <xelhost/errors.h>
#include <xelhost/pixel_line.h>

#include "grey_rows.h"
#include "tally_builder.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace xelhost {

namespace {

// Far beyond any frame a host reads; a line longer than this would only cost memory to cut away.
constexpr long kFarthest = 1'000'000;

long Coordinate(std::string_view text, std::string_view whole) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size())
    throw UsageError("line '" + std::string(whole) + "': expected X1,Y1,X2,Y2 (whole pixels)");
  if (value < -kFarthest || value > kFarthest)
    throw UsageError("line '" + std::string(whole) + "': " + std::string(text) + " lies too far outside any frame");
  return value;
}

}  // namespace

ProfileLine ParseLine(std::string_view text) {
  long values[4] = {};
  std::string_view rest = text;
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t comma = i < 3 ? rest.find(',') : std::string_view::npos;
    if (i < 3 && comma == std::string_view::npos)
      throw UsageError("line '" + std::string(text) + "': expected X1,Y1,X2,Y2 (whole pixels)");
    values[i] = Coordinate(rest.substr(0, comma), text);
    if (i < 3) rest.remove_prefix(comma + 1);
  }
  return {"", values[0], values[1], values[2], values[3]};
}

std::string LineText(const ProfileLine& line) {
  return "line:" + std::to_string(line.x1) + "," + std::to_string(line.y1) + "," + std::to_string(line.x2) + "," +
         std::to_string(line.y2);
}

LineProfile MeasureLine(const Image& image, const ProfileLine& line, const TemperatureCalibration& calibration,
                        UINT frame) {
  const GreyRows grey(image, frame);
  const GreyTemperatures temperatures(calibration, image.Layout().imgBPC);
  TallyBuilder tally(temperatures);
  LineProfile profile;
  const std::vector<LinePixel> pixels = LinePixels(line.x1, line.y1, line.x2, line.y2);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const LinePixel p = pixels[i];
    if (p.x < 0 || p.y < 0 || p.x >= static_cast<long>(image.Width()) || p.y >= static_cast<long>(image.Height()))
      continue;
    LineSample sample{i, static_cast<UINT>(p.x), static_cast<UINT>(p.y), 0, std::nullopt};
    sample.grey = grey(sample.x, sample.y);
    const double t = tally.Add(sample.grey);
    if (!std::isnan(t)) {
      sample.temperature = t;
      if (!profile.min || t < *profile.min) profile.min = t;
      if (!profile.max || t > *profile.max) profile.max = t;
    }
    profile.samples.push_back(sample);
  }
  if (profile.samples.empty()) {
    throw std::invalid_argument("line '" + line.name + "' has no pixel in the " + std::to_string(image.Width()) +
                                " x " + std::to_string(image.Height()) + " image");
  }
  static_cast<TemperatureTally&>(profile) = tally.Result();
  profile.name = line.name;
  return profile;
}

}  // namespace xelhost
