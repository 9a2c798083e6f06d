// xelimg view: the live viewer, a pseudo-coloured image sequence with the plug-in's dialogs beside it.
#include <xelhost/calibration_option.h>
#include <xelhost/errors.h>
#include <xelhost/frame_inputs.h>
#include <xelhost/frame_source.h>
#include <xelhost/input_image.h>
#include <xelhost/memory_budget.h>
#include <xelhost/message_text.h>
#include <xelhost/operand_plan.h>
#include <xelhost/picture_file.h>
#include <xelhost/pseudo_job.h>
#include <xelhost/stream_frame_source.h>
#include "batch/batch_options.h"
#include "command_table.h"
#include "exit_status.h"
#include "host_kit.h"
#include "plugin_location.h"
#include "standard_input_frames.h"
#include "view/frame_reader.h"
#include "view/input_script.h"
#include "view/view_session.h"
#include "view/view_state.h"

#include <winui/screen.h>

#include <array>
#include <cstddef>
#include <filesystem>
#include <limits>
#include <optional>

namespace xelimg {

namespace {

constexpr std::array<OptionSpec, 20> kOptions = {
    {kPluginOption,      kCalibrationOption, kEpsilonOption,  kInputBitsOption, kMaxMemoryOption,
     {"settings", true}, {"profile", true},  {"range", true}, {"lower", true},  {"upper", true},
     {"auto", true},     kIsothermOption,    {"size", true},  {"state", true},  {"no-state", false},
     {"snapshot", true}, {"frames", true},   {"input", true}, {"cursor", true}, kTimeoutOption}};

// Points well beyond any screen or picture, yet far from where arithmetic on them could overflow.
constexpr long kCoordinateLimit = 100000;

// Two whole numbers separated by `separator`, such as 1280x800 or 160,120, each within the limit.
std::pair<long, long> ParsePair(std::string_view option, const std::string& text, char separator) {
  const std::size_t at = text.find(separator);
  if (at == std::string::npos) {
    throw UsageError("--" + std::string(option) + ": expected two whole numbers separated by '" +
                     std::string(1, separator) + "', got " + QuoteForMessage(text));
  }
  const std::string_view whole(text);
  return {ParseIntegerOption(option, whole.substr(0, at), -kCoordinateLimit, kCoordinateLimit),
          ParseIntegerOption(option, whole.substr(at + 1), -kCoordinateLimit, kCoordinateLimit)};
}

// The screen the windows are laid out on; the default one holds the viewer's layout.
void ApplyScreenSize(const Arguments& args) {
  const auto text = args.Value("size");
  if (!text) return;
  const auto [width, height] = ParsePair("size", *text, 'x');
  if (width < 320 || height < 240 || width > 8192 || height > 8192) {
    throw UsageError("--size must lie between 320x240 and 8192x8192");
  }
  winui::SetScreenSize(static_cast<int>(width), static_cast<int>(height));
}

// Everything about the output is checked before any window opens, so a mistake leaves no file.
std::optional<view::HeadlessRun> ParseHeadlessRun(const Arguments& args) {
  const auto file = args.Value("snapshot");
  if (!file) {
    for (const char* option : {"frames", "input", "cursor"}) {
      if (args.Has(option)) throw UsageError(std::string("--") + option + " goes with --snapshot");
    }
    return std::nullopt;
  }
  view::HeadlessRun run;
  run.snapshot = *file;
  if (const auto frames = args.Value("frames")) run.frames = ParseUnsignedOption("frames", *frames);
  if (run.frames == 0 || run.frames > 100000) throw UsageError("--frames must be 1 to 100000");
  if (const auto input = args.Value("input")) run.input = view::ParseInputScript(*input);
  if (const auto cursor = args.Value("cursor")) {
    const auto [x, y] = ParsePair("cursor", *cursor, ',');
    run.cursor = POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
  }
  CheckPictureFile("snapshot", run.snapshot);
  return run;
}

// A run on the display keeps its state in the user's configuration; a snapshot only in a file it
// is given, so that pictures do not depend on who takes them.
std::filesystem::path StateFile(const Arguments& args, bool headless) {
  if (args.Has("no-state")) {
    if (args.Has("state")) throw UsageError("--state and --no-state contradict each other");
    return {};
  }
  if (const auto file = args.Value("state")) return *file;
  return headless ? std::filesystem::path() : view::DefaultStateFile();
}

// The operands that name folders, and the others. A folder is listed without looking at its files
// one by one, so that a recording of tens of thousands of frames starts at once.
struct SplitOperands {
  std::vector<std::filesystem::path> folders;
  std::vector<std::string> others;
};

SplitOperands SplitFolders(const std::vector<std::string>& operands) {
  SplitOperands split;
  for (const std::string& operand : operands) {
    std::error_code error;
    if (std::filesystem::is_directory(operand, error)) {
      split.folders.emplace_back(operand);
    } else {
      split.others.push_back(operand);
    }
  }
  return split;
}

// A snapshot saved into a folder being played would become one of its frames.
void CheckSnapshotOutside(const std::vector<std::filesystem::path>& folders, const std::filesystem::path& snapshot) {
  const std::filesystem::path parent = snapshot.has_parent_path() ? snapshot.parent_path() : ".";
  for (const auto& folder : folders) {
    std::error_code error;
    if (std::filesystem::equivalent(parent, folder, error)) {
      throw UsageError("--snapshot " + QuoteForMessage(snapshot.string()) + " lies in " +
                       QuoteForMessage(folder.string()) + ", which is played; save it elsewhere");
    }
  }
}

// Files, folders and patterns as the batch commands take them, read as they are shown; or standard
// input alone, read up front.
std::unique_ptr<FrameSource> OpenInputFrames(const SplitOperands& operands, const std::vector<InputFile>& others,
                                             std::optional<UINT> inputBits, MemoryBudget& budget) {
  std::vector<std::filesystem::path> files = operands.folders;
  for (const InputFile& input : others) {
    if (input.name != kStandardStream) {
      files.emplace_back(input.name);
    } else if (operands.folders.size() + operands.others.size() > 1) {
      throw UsageError("view: standard input ('-') plays alone");
    }
  }
  if (!files.empty()) return OpenFileFrames(files, inputBits, budget, view::ShownFrameBytes, view::kFramesInFlight);
  return FramesInMemory(ReadStandardInputFrames(inputBits, budget, [](const xelhost::ImageFileInfo&) {
    return Derived{0, "nothing"};
  }));
}

bool GivesColourSettings(const PseudoOptions& options) {
  return options.settingsFile || options.lower || options.upper || options.range || options.autoMode;
}

int RunView(const Arguments& args) {
  const std::optional<view::HeadlessRun> headless = ParseHeadlessRun(args);
  view::ViewOptions options;
  options.pseudo = ParsePseudoOptions(args);
  if (!options.pseudo.isotherms.empty() && !args.Has(kCalibrationOption.name))
    throw UsageError("--isotherm needs --ini: its band is a calibrated temperature");
  options.stateFile = StateFile(args, headless.has_value());
  ApplyScreenSize(args);
  const auto& operands = args.Operands();
  // Every operand is looked at before a window opens, and a snapshot never replaces one of them.
  const SplitOperands split = SplitFolders(operands);
  const OperandPlan operandPlan(split.others);
  if (headless) {
    operandPlan.AddOutputFile(headless->snapshot);
    CheckSnapshotOutside(split.folders, headless->snapshot);
  }
  const bool demo = operands.empty() || (operands.size() == 1 && operands[0] == kDemoInput);
  if (demo && args.Has(kInputBitsOption.name)) throw UsageError("--input-bits belongs to files, not to the demo scene");
  options.autoContrast = demo && !GivesColourSettings(options.pseudo);
  MemoryBudget budget = MemoryBudget::FromArguments(args);
  const bool stream = operands.size() == 1 && xelhost::IsStreamOperand(operands[0]);
  std::unique_ptr<FrameSource> frames =
      demo     ? OpenDemoFrames()
      : stream ? OpenStreamFrames(operands[0], ParseInputBits(args), ParseStreamOptions(args).source.timeout, budget,
                                  view::ShownFrameBytes)
               : OpenInputFrames(split, operandPlan.Inputs(), ParseInputBits(args), budget);

  const xelfw::PluginLibrary library(PluginPath(args));
  options.pseudo.calibration = ReadCalibrationOption(args, library);
  view::ViewSession session(library, std::move(frames), std::move(options));
  if (headless) {
    session.RunHeadless(*headless);
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
    "                   [--settings FILE.ini] [--profile P] [--range LOW:HIGH | --lower L --upper U]\n"
    "                   [--auto contrast|brightness] [--isotherm LOW:HIGH[:#RRGGBB]]...\n"
    "                   [--size WxH] [--state FILE | --no-state]\n"
    "                   [--snapshot FILE.png [--frames N] [--input EVENTS] [--cursor X,Y]]\n"
    "\n"
    "Plays the inputs (8/16-bit greyscale PNG, PGM or TIFF files, every page of a multi-page TIFF,\n"
    "directories of them in name order, patterns such as 'frames/*.png', or '-' alone for standard\n"
    "input) pseudo-coloured by the plug-in, with its \"Pseudo color\",\n"
    "\"Scale\" and \"Temperature\" dialogs beside the picture. Without inputs (or with demo:) it plays an\n"
    "animated demo scene with continuous auto contrast (unless colour settings are given).\n"
    "\n"
    "Mouse: drag a rectangle over the picture to choose the area the temperature is measured in (a\n"
    "click measures the whole picture again); the wheel zooms about the pointer; a middle-button or\n"
    "Shift drag pans; the right button opens a menu. The status line under the picture gives the\n"
    "position, grey value and temperature of the pixel under the pointer, also while paused (a grey\n"
    "value at the top of its bits is marked saturated, a temperature beyond the calibration's points\n"
    "extrapolated), then the lowest, highest and mean temperature of the area's pixels and the\n"
    "object's reading (the temperature of the mean grey value).\n"
    "Keys, in whichever of the viewer's windows has the focus (but for typing in a field): space pauses,\n"
    "the arrows step, Home and End go to the first and the last frame, PgUp and PgDn a tenth of the\n"
    "sequence back and on (a live stream: End and PgDn play its newest frame), + and - zoom, 1 shows\n"
    "1:1, 0 fits the window; C, S and T show the \"Pseudo color\", \"Scale\" and \"Temperature\" dialogs\n"
    "again after they were closed; P saves the picture as shown at the frame's own size (with the area\n"
    "and its hottest pixel marked), Shift+P the whole screen (xelimg-view-N.png in the working\n"
    "directory); Esc in the picture window or its close box quits.\n"
    "User buttons: \"Freeze\" holds the frame, \"Zoom 1:1\" shows the picture 1:1 (fitted again when\n"
    "released), \"Save PNG\" saves the picture as P does. A change in a dialog repaints a paused frame.\n"
    "Frames are read from disk as they are shown, a few ahead; the picture window takes the part of\n"
    "the screen the dialogs leave free, again whenever the display window is resized.\n"
    "\n"
    "--ini, --epsilon, --settings, --profile, --range, --lower, --upper, --auto and --isotherm work as in\n"
    "pseudo and temperature (README: Calibration); the status line's temperature uses the same\n"
    "calibration as the readout. --input-bits N gives the files' significant bits. --size WxH sets the\n"
    "screen (default 1024x768); on a display, resizing the window resizes the screen.\n"
    "\n"
    "State: window places, colour settings, emissivity and the area are saved at the end of a run on\n"
    "the display to $XDG_CONFIG_HOME/xelimg/view.ini (else ~/.config/xelimg/view.ini) and restored at\n"
    "the start; the options override them. --no-state neither reads nor writes it; --state FILE uses\n"
    "another file (snapshots use one only when given it). A damaged file is reported and ignored.\n"
    "\n"
    "IN may also be one video stream, played live: gst:PIPELINE (a gst-launch-1.0 description giving\n"
    "GRAY8 or GRAY16_LE) or /dev/videoN (a V4L2 camera). When processing falls behind, the newest\n"
    "frame wins; --timeout SECONDS (default 5) ends a stream that stalls.\n"
    "\n"
    "--snapshot runs N frames (default 1) without a display, then plays --input, then puts the pointer\n"
    "on picture pixel X,Y (--cursor, image coordinates), and saves the whole screen as PNG. --input\n"
    "holds events separated by ';' at screen points: 'key NAME' (a letter or digit, space, left,\n"
    "right, home, end, pgup, pgdn, plus, minus, escape, f1..f12; shift+NAME with Shift), 'move X,Y',\n"
    "'click X,Y', 'rclick X,Y', 'drag X1,Y1,X2,Y2', 'mdrag ...' (middle button), 'sdrag ...' (with\n"
    "Shift), 'wheel X,Y,N' (N notches, positive zooms in). The status line is printed on stdout as well.\n"
    "--max-memory SIZE limits the decoded image data of the frames in flight and on screen (bytes, or\n"
    "with K, M, G; default 1G, or $XELIMG_MAX_MEMORY); standard input is held whole.\n",
    kOptions,
    std::numeric_limits<std::size_t>::max(),
    RunView};

}  // namespace xelimg
