// xelimg view: the live viewer, a pseudo-coloured image sequence with the plug-in's dialogs beside it.
#include "calibration_option.h"
#include "cli_error.h"
#include "command_table.h"
#include "input_image.h"
#include "memory_budget.h"
#include "picture_file.h"
#include "plugin_location.h"
#include "batch/batch_options.h"
#include "view/frame_source.h"
#include "view/stream_frame_source.h"
#include "view/view_session.h"

#include <array>
#include <cstddef>
#include <limits>
#include <optional>

namespace xelimg {

namespace {

constexpr std::array<OptionSpec, 8> kOptions = {{kPluginOption, {"snapshot", true}, {"frames", true}, kCalibrationOption,
                                                 kEpsilonOption, kInputBitsOption, kMaxMemoryOption, kTimeoutOption}};

// Everything about the output is checked before any window opens, so a mistake leaves no file.
struct Snapshot {
  std::filesystem::path file;
  UINT frames;
};

std::optional<Snapshot> ParseSnapshot(const Arguments& args) {
  const auto file = args.Value("snapshot");
  const auto frames = args.Value("frames");
  if (!file) {
    if (frames) throw UsageError("--frames goes with --snapshot");
    return std::nullopt;
  }
  Snapshot snapshot{*file, frames ? ParseUnsignedOption("frames", *frames) : 1};
  if (snapshot.frames == 0 || snapshot.frames > 100000) throw UsageError("--frames must be 1 to 100000");
  CheckPictureFile("snapshot", snapshot.file);
  return snapshot;
}

int RunView(const Arguments& args) {
  const std::optional<Snapshot> snapshot = ParseSnapshot(args);
  const auto& operands = args.Operands();
  const bool demo = operands.empty() || (operands.size() == 1 && operands[0] == kDemoInput);
  if (demo && args.Has(kInputBitsOption.name)) throw UsageError("--input-bits belongs to files, not to the demo scene");
  MemoryBudget budget = MemoryBudget::FromArguments(args);
  const bool stream = operands.size() == 1 && xelfw::IsStreamOperand(operands[0]);
  std::unique_ptr<view::FrameSource> frames =
      demo     ? view::OpenDemoFrames()
      : stream ? view::OpenStreamFrames(operands[0], ParseInputBits(args), ParseStreamOptions(args).source.timeout)
               : view::OpenFileFrames(std::vector<std::filesystem::path>(operands.begin(), operands.end()),
                                  ParseInputBits(args), budget);

  const xelfw::PluginLibrary library(PluginPath(args));
  view::ViewSession session(library, std::move(frames), demo, ReadCalibrationOption(args, library));
  if (snapshot) {
    session.RunHeadless(snapshot->frames, snapshot->file);
  } else {
    session.RunOnDisplay();
  }
  return kExitOk;
}

}  // namespace

const Command kViewCommand{
    "view",
    "view [IN...]                               live viewer with the plug-in's dialogs",
    "usage: xelimg view [IN...] [--ini CALIB.ini] [--epsilon E] [--input-bits N] [--plugin PATH]\n"
    "                   [--snapshot FILE.png [--frames N]]\n"
    "\n"
    "Plays the inputs (8/16-bit greyscale PNG, PGM or TIFF files, every page of a multi-page TIFF,\n"
    "directories of them in name order) pseudo-coloured by the plug-in, with its \"Pseudo color\",\n"
    "\"Scale\" and \"Temperature\" dialogs beside the picture. Without inputs (or with demo:) it plays an animated demo\n"
    "scene with continuous auto contrast. Drag a rectangle over the picture to choose the area the\n"
    "temperature is measured in (a click measures the whole picture again); space pauses, the arrow\n"
    "keys step, Esc or the close box quits. With --ini the temperature and every value the dialogs\n"
    "show follow the calibration (README: Calibration); --input-bits N gives the files' significant bits.\n"
    "\n"
    "IN may also be one video stream, played live: gst:PIPELINE (a gst-launch-1.0 description giving\n"
    "GRAY8 or GRAY16_LE) or /dev/videoN (a V4L2 camera). When processing falls behind, the newest\n"
    "frame wins; --timeout SECONDS (default 5) ends a stream that stalls.\n"
    "\n"
    "--snapshot runs N frames (default 1) without a display and saves the whole screen as PNG.\n"
    "--max-memory SIZE limits the decoded image data of all inputs together (bytes, or with K, M, G;\n"
    "default 1G, or $XELIMG_MAX_MEMORY).\n",
    kOptions,
    std::numeric_limits<std::size_t>::max(),
    RunView};

}  // namespace xelimg
