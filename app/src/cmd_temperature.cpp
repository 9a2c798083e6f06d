// xelimg temperature: mean grey value, emissivity and temperature of every frame.
#include "cli_error.h"
#include "command_table.h"
#include "demo_scene.h"
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

constexpr std::array<OptionSpec, 6> kOptions = {
    {kPluginOption, {"ini", true}, {"aoi", true}, {"epsilon", true}, {"json", false}, kMaxMemoryOption}};

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

// The object takes its emissivity only through its settings import, so an --epsilon goes into the
// INI section it reads.
xelfw::IniStore CalibrationStore(const Arguments& args, const std::string& objectName) {
  xelfw::IniStore store = args.Has("ini") ? xelfw::IniStore::Load(*args.Value("ini")) : xelfw::IniStore();
  if (const auto text = args.Value("epsilon")) {
    const double epsilon = ParseDoubleOption("epsilon", *text);
    if (!(epsilon > 0.0 && epsilon <= 1.0)) throw UsageError("--epsilon must lie in (0, 1]");
    store.SetDouble(SettingsSection(store, objectName), "Epsilon", epsilon);
  }
  return store;
}

// The statistics object measures frame 0 of what it is given, so each page gets an image of its own.
xelfw::Image FrameImage(const xelfw::Image& image, UINT frame) {
  xelfw::Image single(image.Width(), image.Height(), image.Layout());
  std::memcpy(single.Data(), image.Data(frame), image.FrameBytes());
  return single;
}

// Each page is measured from a copy of its own, which the budget counts beside the whole file.
xelfw::Image ReadWithinBudget(const std::string& file, const Arguments& args) {
  MemoryBudget budget = MemoryBudget::FromArguments(args);
  const xelfw::ImageFileInfo info = xelfw::InspectImageFile(file, budget.ReadLimits());
  budget.Reserve(info.DecodedBytes() + info.FrameBytes(), file);
  return xelfw::ReadImageFile(file, {info.DecodedBytes(), info.frames});
}

int RunTemperature(const Arguments& args) {
  const auto& operands = args.Operands();
  const xelfw::Image image = operands.empty() ? MakeDemoScene() : ReadWithinBudget(operands[0], args);
  if (image.Layout().formatClass != XI_IMGFORMAT_CLASS_GREYSCALE) {
    throw CommandError((operands.empty() ? std::string("input") : operands[0]) + ": temperature needs a greyscale image");
  }
  const std::optional<xelfw::Aoi> aoi =
      args.Has("aoi") ? std::optional<xelfw::Aoi>(ParseAoi(*args.Value("aoi"), image)) : std::nullopt;

  const xelfw::PluginLibrary library(PluginPath(args));
  TemperatureObject object(library, xelfw::HostOptions{});
  xelfw::IniStore store = CalibrationStore(args, object.Name());
  if (!object.ImportSettings(store)) {
    throw CommandError((args.Has("ini") ? *args.Value("ini") : std::string("settings")) +
                       ": the calibration was refused (one Point_k, or points that fit no curve)");
  }

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
    "temperature [IN] [--ini CALIB.ini] [--aoi X,Y,W,H] [--epsilon E] [--json]   temperature readout",
    "usage: xelimg temperature [IN] [--ini CALIB.ini] [--aoi X,Y,W,H] [--epsilon E] [--json]\n"
    "\n"
    "Runs the plug-in's \"Temperature display\" object on IN (a greyscale PNG, PGM or TIFF; without IN the\n"
    "demo scene) and prints, one line a frame (every page of a TIFF): the mean grey value inside the\n"
    "area of interest, the emissivity and the temperature in the display unit.\n"
    "\n"
    "  --ini CALIB.ini   calibration (Point_0, Point_1, ... as normalised grey value, Kelvin) and the\n"
    "                    keys Epsilon, BgTempKelvin, UnitDesc, KelvinToUnitOfs, KelvinToUnitMult\n"
    "  --aoi X,Y,W,H     measure only this rectangle (default: the whole image)\n"
    "  --epsilon E       emissivity of the surface, 0 < E <= 1 (overrides the file)\n"
    "  --json            one JSON document instead of text lines\n"
    "  --max-memory SIZE decoded image data the run may hold (K, M, G; default 1G, or $XELIMG_MAX_MEMORY)\n"
    "  --plugin PATH     the plug-in library\n",
    kOptions,
    1,
    RunTemperature};

}  // namespace xelimg
