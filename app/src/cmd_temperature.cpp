// xelimg temperature: mean grey value, emissivity and temperature of every frame.
#include "batch/batch_options.h"
#include "batch/batch_report.h"
#include "batch/frame_inputs.h"
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
#include <cstdio>
#include <limits>
#include <optional>
#include <sstream>

namespace xelimg {

namespace {

constexpr std::array<OptionSpec, 11> kOptions = {{kPluginOption, kCalibrationOption, {"aoi", true}, kEpsilonOption,
                                                 {"json", false}, {"quiet", false}, kInputBitsOption,
                                                 kMaxMemoryOption, kFramesOption, kTimeoutOption}};

// "X,Y,W,H" with a non-empty rectangle; whether it lies inside is a question for each frame.
xelfw::Aoi ParseAoi(const std::string& text) {
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
  if (w == 0 || h == 0) throw UsageError("--aoi " + text + " is empty");
  return xelfw::Aoi::FromSize(static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(w), static_cast<LONG>(h));
}

void CheckAoiInside(const xelfw::Aoi& aoi, const xelfw::Image& image) {
  const RECT box = aoi.GetBoundingRect();
  if (box.left < 0 || box.top < 0 || box.right > static_cast<LONG>(image.Width()) ||
      box.bottom > static_cast<LONG>(image.Height())) {
    throw UsageError("--aoi does not lie inside the " + std::to_string(image.Width()) + " x " +
                     std::to_string(image.Height()) + " image");
  }
}

// The frame being measured and the copy the statistics object is handed must fit the memory limit.
FrameAdmission AdmitWithin(std::size_t limit) {
  return [limit](const xelfw::ImageFileInfo& frame, const std::string& name) {
    MemoryBudget budget(limit);
    budget.Reserve(frame.FrameBytes(), name);
  };
}

int RunTemperature(const Arguments& args) {
  const auto& operands = args.Operands();
  if (operands.empty()) throw UsageError("give the input(s) (see 'xelimg temperature --help'); demo: names the demo scene");
  const std::optional<xelfw::Aoi> aoi = args.Has("aoi") ? std::optional(ParseAoi(*args.Value("aoi"))) : std::nullopt;
  const std::vector<InputFile> inputs = ExpandInputs(operands);
  const std::optional<UINT> inputBits = ParseInputBits(args);
  const StreamInputOptions streams = ParseStreamOptions(args);
  const MemoryBudget budget = MemoryBudget::FromArguments(args);

  const xelfw::PluginLibrary library(PluginPath(args));
  TemperatureObject object(library, xelfw::HostOptions{});
  object.ImportCalibration(ReadCalibrationOption(args, library).value_or(xelfw::TemperatureCalibration{}));

  // Reading is all the work here, so the frames go through one object in order, each printed as
  // soon as it is measured.
  const bool json = args.Has("json");
  const bool labelled = inputs.size() > 1;
  BatchReport report(inputs, !args.Has("quiet"));
  FrameSequence sequence(inputs, AdmitWithin(budget.Limit()), budget.Limit(), streams);
  bool bitsWarned = false;
  while (std::optional<InputFrame> frame = sequence.Next()) {
    sequence.Load(*frame);
    if (!frame->image) {
      report.Skipped(*frame, frame->error);
      continue;
    }
    try {
      xelfw::Image& image = *frame->image;
      if (image.Layout().formatClass != XI_IMGFORMAT_CLASS_GREYSCALE) throw CommandError("temperature needs a greyscale image");
      const InputFile& input = inputs[frame->input];
      if (const auto warning = ApplyInputBits({&image, 1}, inputBits, input.name); warning && !bitsWarned) {
        std::fprintf(stderr, "%s\n", warning->c_str());
        bitsWarned = true;
      }
      if (aoi) CheckAoiInside(*aoi, image);
      const TemperatureReading reading = object.Measure(image, aoi ? &*aoi : nullptr);
      PrintTemperatureReading(reading, {frame->index, input.name, frame->page, labelled}, json);
      report.Done();
    } catch (const std::exception& error) {
      report.Skipped(*frame, error.what());
    }
  }
  return report.ExitCode();
}

}  // namespace

const Command kTemperatureCommand{
    "temperature",
    "temperature IN... [--ini CALIB.ini] [--aoi X,Y,W,H] [--epsilon E] [--json]   temperature readout",
    "usage: xelimg temperature IN... [--ini CALIB.ini] [--aoi X,Y,W,H] [--epsilon E] [--json]\n"
    "\n"
    "Runs the plug-in's \"Temperature display\" object on every frame of the inputs and prints, one\n"
    "line a frame as soon as it is measured: the mean grey value inside the area of interest, the\n"
    "emissivity and the temperature in the display unit. Each IN is a greyscale PNG, PGM or TIFF\n"
    "(every page), a folder (its images in name order), a pattern such as 'frames/*.tif', '-' for\n"
    "standard input, demo: for the built-in demo scene, or a video stream: gst:PIPELINE (a\n"
    "gst-launch-1.0 description giving GRAY8 or GRAY16_LE) or /dev/videoN, read until it ends. A\n"
    "frame that cannot be read or measured is reported on stderr and skipped. Exit code 0: all measured; 1: some skipped; 2: none.\n"
    "\n"
    "  --ini CALIB.ini   calibration (Point_0, Point_1, ... as normalised grey value, Kelvin) and the\n"
    "                    keys Epsilon, BgTempKelvin, UnitDesc, KelvinToUnitOfs, KelvinToUnitMult;\n"
    "                    a file that cannot be read exactly is refused (README: Calibration)\n"
    "  --input-bits N    significant bits of the grey values, 1..16 (default: what each file declares)\n"
    "  --aoi X,Y,W,H     measure only this rectangle (default: the whole image)\n"
    "  --epsilon E       emissivity of the surface, 0 < E <= 1 (overrides the file)\n"
    "  --frames N        take at most N frames of each stream (default: until it ends)\n"
    "  --timeout SECONDS a stream that sends no frame for this long has stalled (default 5)\n"
    "  --json            one JSON object a line (JSON Lines) instead of text\n"
    "  --quiet           no progress line on a terminal\n"
    "  --max-memory SIZE decoded image data the run may hold (K, M, G; default 1G, or $XELIMG_MAX_MEMORY)\n"
    "  --plugin PATH     the plug-in library\n",
    kOptions,
    std::numeric_limits<std::size_t>::max(),
    RunTemperature};

}  // namespace xelimg
