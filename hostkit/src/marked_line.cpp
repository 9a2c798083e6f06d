// Reading --line and sampling a line's temperatures.
#include <xelhost/marked_line.h>

#include <xelhost/AreaStatistics.h>
#include <xelhost/errors.h>

#include <limits>
#include <set>
#include <string_view>

namespace xelhost {

namespace {

constexpr long kCoordinateLimit = 1L << 20;

MarkedLine ParseLine(const std::string& option, std::size_t position) {
  const std::size_t equals = option.find('=');
  MarkedLine line;
  line.name = equals == std::string::npos ? "line" + std::to_string(position + 1) : option.substr(0, equals);
  if (line.name.empty()) throw UsageError("--line " + option + ": the name before '=' is empty");
  std::string_view text(option);
  if (equals != std::string::npos) text.remove_prefix(equals + 1);
  long numbers[4] = {};
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t comma = text.find(',');
    if ((comma == std::string_view::npos) != (i == 3))
      throw UsageError("--line: expected [NAME=]X1,Y1,X2,Y2, got '" + option + "'");
    numbers[i] = ParseIntegerOption("line", text.substr(0, comma), -kCoordinateLimit, kCoordinateLimit);
    if (comma != std::string_view::npos) text.remove_prefix(comma + 1);
  }
  line.from = {numbers[0], numbers[1]};
  line.to = {numbers[2], numbers[3]};
  return line;
}

}  // namespace

std::vector<MarkedLine> ParseMarkedLines(const Arguments& args) {
  const std::vector<std::string> options = args.Values(kMarkedLineOption.name);
  std::vector<MarkedLine> lines;
  std::set<std::string> names;
  for (std::size_t i = 0; i < options.size(); ++i) {
    lines.push_back(ParseLine(options[i], i));
    if (!names.insert(lines.back().name).second)
      throw UsageError("--line: the name '" + lines.back().name + "' is given twice");
  }
  return lines;
}

std::vector<LineSample> SampleLine(const MarkedLine& line, const xelfw::Image& grey,
                                   const xelfw::TemperatureCalibration& calibration) {
  const GreyTemperatures temperatures(calibration, grey.Layout().imgBPC);
  std::vector<LineSample> samples;
  for (const LinePixel& pixel : LinePixels(line.from.x, line.from.y, line.to.x, line.to.y)) {
    if (pixel.x < 0 || pixel.y < 0 || pixel.x >= static_cast<long>(grey.Width()) ||
        pixel.y >= static_cast<long>(grey.Height()))
      continue;
    samples.push_back(
        {pixel, temperatures(grey.GetComponent(static_cast<UINT>(pixel.x), static_cast<UINT>(pixel.y), 0))});
  }
  if (samples.empty()) {
    throw UsageError("--line " + line.name + " has no pixel in the " + std::to_string(grey.Width()) + " x " +
                     std::to_string(grey.Height()) + " image");
  }
  return samples;
}

}  // namespace xelhost
