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
#include "view/input_script.h"
#include "view/view_session.h"
#include "view/view_state.h"

#include <winui/screen.h>

#include <array>
#include <cstddef>
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

// Files, folders and patterns as the batch commands take them, or standard input alone; read up front.
std::unique_ptr<FrameSource> OpenInputFrames(const std::vector<std::string>& operands, std::optional<UINT> inputBits,
                                             MemoryBudget& budget) {
  const std::vector<InputFile> inputs = ExpandInputs(operands);
  std::vector<std::filesystem::path> files;
  for (const InputFile& input : inputs) {
    if (input.name != kStandardStream) {
      files.emplace_back(input.name);
    } else if (inputs.size() > 1) {
      throw UsageError("view: standard input ('-') plays alone");
    }
  }
  if (!files.empty()) return OpenFileFrames(files, inputBits, budget, view::ShownFrameBytes);
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
  const OperandPlan operandPlan(operands);
  if (headless) operandPlan.AddOutputFile(headless->snapshot);
  const bool demo = operands.empty() || (operands.size() == 1 && operands[0] == kDemoInput);
  if (demo && args.Has(kInputBitsOption.name)) throw UsageError("--input-bits belongs to files, not to the demo scene");
  options.autoContrast = demo && !GivesColourSettings(options.pseudo);
  MemoryBudget budget = MemoryBudget::FromArguments(args);
  const bool stream = operands.size() == 1 && xelhost::IsStreamOperand(operands[0]);
  std::unique_ptr<FrameSource> frames =
      demo     ? OpenDemoFrames()
      : stream ? OpenStreamFrames(operands[0], ParseInputBits(args), ParseStreamOptions(args).source.timeout, budget,
                                  view::ShownFrameBytes)
               : OpenInputFrames(operands, ParseInputBits(args), budget);

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
    "Keys: space pauses, the arrows step, + and - zoom, 1 shows 1:1, 0 fits the window; C, S and T\n"
    "show the \"Pseudo color\", \"Scale\" and \"Temperature\" dialogs again after they were closed; P saves\n"
    "a PNG of the screen (xelimg-view-N.png in the working directory); Esc or the close box quits.\n"
    "User buttons: \"Freeze\" holds the frame, \"Zoom 1:1\" shows the picture 1:1 (fitted again when\n"
    "released), \"Save PNG\" saves the screen as P does. A change in a dialog repaints a paused frame.\n"
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
    "right, plus, minus, escape, f1..f12), 'move X,Y', 'click X,Y', 'rclick X,Y', 'drag X1,Y1,X2,Y2',\n"
    "'mdrag ...' (middle button), 'sdrag ...' (with Shift), 'wheel X,Y,N' (N notches, positive zooms\n"
    "in). The status line is printed on stdout as well.\n"
    "--max-memory SIZE limits the decoded image data of all inputs together (bytes, or with K, M, G;\n"
    "default 1G, or $XELIMG_MAX_MEMORY).\n",
    kOptions,
    std::numeric_limits<std::size_t>::max(),
    RunView};

}  // namespace xelimg
