// xelimg temperature: mean grey value, emissivity and temperature of every frame.
#include "calibration_option.h"
#include "cli_error.h"
#include "command_table.h"
#include "input_image.h"
#include "memory_budget.h"
#include "plugin_location.h"
#include "plugin_objects.h"
#include "temperature_report.h"

#include <xelfw/Aoi.h>
#include <xelfw/image_io.h>

#include <array>
#include <cstring>
#include <optional>
#include <sstream>

namespace xelimg {

namespace {

constexpr std::array<OptionSpec, 7> kOptions = {{kPluginOption, kCalibrationOption, {"aoi", true}, kEpsilonOption,
                                                 kInputBitsOption, {"json", false}, kMaxMemoryOption}};

// "X,Y,W,H" with a non-empty rectangle inside the image.
xelfw::Aoi ParseAoi(const std::string& text, const xelfw::Image& image) {
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
  if (w == 0 || h == 0 || x >= image.Width() || y >= image.Height() || w > image.Width() - x ||
      h > image.Height() - y) {
    throw UsageError("--aoi " + text + " does not lie inside the " + std::to_string(image.Width()) + " x " +
                     std::to_string(image.Height()) + " image");
  }
  return xelfw::Aoi::FromSize(static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(w), static_cast<LONG>(h));
}

// The statistics object measures frame 0 of what it is given, so each page gets an image of its own.
xelfw::Image FrameImage(const xelfw::Image& image, UINT frame) {
  xelfw::Image single(image.Width(), image.Height(), image.Layout());
  std::memcpy(single.Data(), image.Data(frame), image.FrameBytes());
  return single;
}

int RunTemperature(const Arguments& args) {
  const auto& operands = args.Operands();
  if (operands.size() != 1) throw UsageError("usage: xelimg temperature IN [options] (IN may be demo:; see --help)");
  MemoryBudget budget = MemoryBudget::FromArguments(args);
  // Each page is measured from a copy of its own.
  const xelfw::Image image = ReadInputImage(operands[0], ParseInputBits(args), budget,
                                            [&](const xelfw::ImageFileInfo& in) {
                                              return Derived{in.FrameBytes(), "a page of " + operands[0]};
                                            });
  if (image.Layout().formatClass != XI_IMGFORMAT_CLASS_GREYSCALE) {
    throw CommandError(operands[0] + ": temperature needs a greyscale image");
  }
  const std::optional<xelfw::Aoi> aoi =
      args.Has("aoi") ? std::optional<xelfw::Aoi>(ParseAoi(*args.Value("aoi"), image)) : std::nullopt;

  const xelfw::PluginLibrary library(PluginPath(args));
  TemperatureObject object(library, xelfw::HostOptions{});
  object.ImportCalibration(ReadCalibrationOption(args, library).value_or(xelfw::TemperatureCalibration{}));

  std::vector<TemperatureReading> readings;
  for (UINT frame = 0; frame < image.Frames(); ++frame) {
    xelfw::Image single = FrameImage(image, frame);
    readings.push_back(object.Measure(single, aoi ? &*aoi : nullptr));
  }
  PrintTemperatureReport(readings, args.Has("json"));
  return kExitOk;
}

}  // namespace

const Command kTemperatureCommand{
    "temperature",
    "temperature IN [--ini CALIB.ini] [--aoi X,Y,W,H] [--epsilon E] [--json]   temperature readout",
    "usage: xelimg temperature IN [--ini CALIB.ini] [--aoi X,Y,W,H] [--epsilon E] [--input-bits N] [--json]\n"
    "\n"
    "Runs the plug-in's \"Temperature display\" object on IN (a greyscale PNG, PGM or TIFF, or demo: for\n"
    "the demo scene) and prints, one line a frame (every page of a TIFF): the mean grey value inside the\n"
    "area of interest, the emissivity and the temperature in the display unit.\n"
    "\n"
    "  --ini CALIB.ini   calibration (Point_0, Point_1, ... as normalised grey value, Kelvin) and the\n"
    "                    keys Epsilon, BgTempKelvin, UnitDesc, KelvinToUnitOfs, KelvinToUnitMult;\n"
    "                    a file that cannot be read exactly is refused (README: Calibration)\n"
    "  --input-bits N    significant bits of IN's grey values, 1..16 (default: what IN declares)\n"
    "  --aoi X,Y,W,H     measure only this rectangle (default: the whole image)\n"
    "  --epsilon E       emissivity of the surface, 0 < E <= 1 (overrides the file)\n"
    "  --json            one JSON document instead of text lines\n"
    "  --max-memory SIZE decoded image data the run may hold (K, M, G; default 1G, or $XELIMG_MAX_MEMORY)\n"
    "  --plugin PATH     the plug-in library\n",
    kOptions,
    1,
    RunTemperature};

}  // namespace xelimg
