// xelimg dialog: one of the plug-in's dialogs as it looks after one processing run, as a PNG.
#include <xelhost/calibration_option.h>
#include <xelhost/errors.h>
#include <xelhost/frame_inputs.h>
#include <xelhost/input_image.h>
#include <xelhost/memory_budget.h>
#include <xelhost/message_text.h>
#include <xelhost/operand_plan.h>
#include <xelhost/picture_file.h>
#include <xelhost/plugin_objects.h>
#include <xelhost/profile_names.h>
#include <xelhost/pseudo_job.h>
#include "command_table.h"
#include "exit_status.h"
#include "host_kit.h"
#include "plugin_location.h"
#include "standard_input_frames.h"

#include <winui/screen.h>
#include <xelfw/DialogHost.h>
#include <xelhost/image_io.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace xelimg {

namespace {

constexpr std::array<OptionSpec, 10> kOptions = {{kPluginOption,
                                                  {"out", true},
                                                  {"profile", true},
                                                  {"auto", true},
                                                  {"range", true},
                                                  {"settings", true},
                                                  kCalibrationOption,
                                                  kEpsilonOption,
                                                  kInputBitsOption,
                                                  kMaxMemoryOption}};

struct DialogChoice {
  std::string_view name;
  UINT objectType;
  UINT dlgID;
};

constexpr std::array<DialogChoice, 3> kDialogs = {
    {{"pseudo", kPseudoColorType, 0}, {"scale", kPseudoColorType, 1}, {"temperature", kTemperatureType, 0}}};

const DialogChoice& FindDialog(const Arguments& args) {
  if (args.Operands().empty()) throw UsageError("dialog: name the dialog: pseudo, scale or temperature");
  for (const DialogChoice& choice : kDialogs) {
    if (choice.name == args.Operands()[0]) return choice;
  }
  throw UsageError("dialog: " + QuoteForMessage(args.Operands()[0]) +
                   " is not a dialog (pseudo, scale or temperature)");
}

// Options that do not fit the chosen object are refused rather than ignored: a picture made without
// what the user asked for would look right and be wrong.
void CheckOptionsFit(const Arguments& args, const DialogChoice& choice) {
  const bool temperature = choice.objectType == kTemperatureType;
  for (const char* option : {"profile", "auto", "range", "settings"}) {
    if (temperature && args.Has(option))
      throw UsageError(std::string("--") + option + " belongs to the pseudo and scale dialogs");
  }
  if (!temperature && args.Has("epsilon")) throw UsageError("--epsilon belongs to the temperature dialog");
}

// The one image a dialog shows: demo:, a file, a folder or pattern that names one file, or "-".
xelfw::Image ReadSource(const Arguments& args) {
  if (args.Operands().size() != 2) throw UsageError("dialog: name the input: IN or demo: (see 'xelimg dialog --help')");
  const std::string& operand = args.Operands()[1];
  const std::vector<InputFile> inputs = ExpandInputs({operand});
  if (inputs.size() != 1) {
    throw UsageError("dialog: " + QuoteForMessage(operand) + " names " + std::to_string(inputs.size()) +
                     " images; a dialog shows the processing of one");
  }
  if (inputs[0].stream)
    throw UsageError("dialog: " + QuoteForMessage(operand) + " is a stream; a dialog shows one image");
  MemoryBudget budget = MemoryBudget::FromArguments(args);
  // The pseudo-colour run adds an 8-bit RGB picture of every frame.
  const InputCost picture = [](const xelhost::ImageFileInfo& in) {
    return Derived{std::size_t{3} * in.width * in.height * in.frames, "the processed picture"};
  };
  xelfw::Image image = [&] {
    if (inputs[0].name != kStandardStream) return ReadInputImage(inputs[0].name, ParseInputBits(args), budget, picture);
    std::vector<xelfw::Image> frames = ReadStandardInputFrames(ParseInputBits(args), budget, picture);
    if (frames.size() != 1)
      throw CommandError("standard input holds " + std::to_string(frames.size()) + " frames; a dialog shows one");
    return std::move(frames.front());
  }();
  if (image.Layout().formatClass != XI_IMGFORMAT_CLASS_GREYSCALE) {
    throw CommandError(inputs[0].name + ": the dialogs show the processing of a greyscale image");
  }
  return image;
}

// Shows the dialog, lets the refreshes it and the run asked for land, and writes its window.
void SaveDialog(CXelImgProcess_0& object, UINT dlgID, const std::string& out) {
  xelfw::DialogHost dialogs(object);
  CXelImgProcessDlg* dialog = dialogs.Open(dlgID);
  if (dialog == nullptr) throw CommandError("the plug-in made no dialog " + std::to_string(dlgID));
  winui::PumpMessages();
  // No caret or focus frame in the picture: they mark where typing would go, which a still
  // picture cannot use, and a caret over the first digit of a field misreads as another character.
  ::SetFocus(nullptr);
  winui::PumpMessages();
  SavePicture(winui::RenderWindow(dialog->GetSafeHwnd()), out);
}

void ShowPseudoColorDialog(const Arguments& args, const xelfw::PluginLibrary& library, UINT dlgID,
                           const std::string& out) {
  PseudoOptions options = ParsePseudoOptions(args);
  options.calibration = ReadCalibrationOption(args, library);
  const xelfw::Image source = ReadSource(args);
  PseudoColorObject object(library, xelfw::HostOptions{});
  ConfigurePseudoColorObject(object, options, &source);
  xelfw::Image destination(source.Width(), source.Height(), xelfw::PixelLayout::Colour(8, 3, XI_ORDER_RGB),
                           source.Frames());
  object.Process(source, destination);
  // The object scales its display unit to the grey range known at its last settings change, so a
  // host hands the settings back once the image has shown that range; the bounds the run found
  // stay as they are.
  object.SetSettings(object.Settings());
  SaveDialog(object.Object(), dlgID, out);
}

// The temperature of the whole image, as "xelimg temperature" reports it without --aoi.
void ShowTemperatureDialog(const Arguments& args, const xelfw::PluginLibrary& library, UINT dlgID,
                           const std::string& out) {
  xelfw::Image source = ReadSource(args);
  TemperatureObject object(library, xelfw::HostOptions{});
  object.ImportCalibration(ReadCalibrationOption(args, library).value_or(xelfw::TemperatureCalibration{}));
  object.Measure(source, nullptr);
  SaveDialog(object.Object(), dlgID, out);
}

int RunDialog(const Arguments& args) {
  const DialogChoice& choice = FindDialog(args);
  const std::optional<std::string> out = args.Value("out");
  if (!out || out->empty()) throw UsageError("dialog: --out FILE.png is required");
  CheckPictureFile("out", *out);
  // The picture must not replace the image it shows.
  if (args.Operands().size() == 2) OperandPlan({args.Operands()[1]}).AddOutputFile(*out);
  CheckOptionsFit(args, choice);
  const xelfw::PluginLibrary library(PluginPath(args));
  if (choice.objectType == kTemperatureType) {
    ShowTemperatureDialog(args, library, choice.dlgID, *out);
  } else {
    ShowPseudoColorDialog(args, library, choice.dlgID, *out);
  }
  return kExitOk;
}

}  // namespace

const Command kDialogCommand{
    "dialog",
    "dialog pseudo|scale|temperature IN --out FILE.png [...]   picture of a dialog",
    "usage: xelimg dialog pseudo|scale|temperature IN --out FILE.png [--profile INDEX|NAME]\n"
    "                     [--auto contrast|brightness] [--range LOW:HIGH] [--settings FILE.ini]\n"
    "                     [--ini CALIB.ini] [--epsilon E] [--input-bits N] [--plugin PATH]\n"
    "\n"
    "Processes IN (a greyscale PNG, PGM or TIFF, a folder or pattern that names one such file, '-' for\n"
    "standard input, or demo: for the demo scene) once and writes a picture of one of the plug-in's\n"
    "dialogs as it then looks, without a display:\n"
    "  pseudo        the \"Pseudo color\" settings dialog of the pseudo-colour object\n"
    "  scale         its \"Scale\" legend of the colour bar in the display unit\n"
    "  temperature   the \"Temperature\" dialog of the temperature object (whole image measured)\n"
    "\n"
    "  --out FILE.png                the picture (replaced whole, or not at all)\n"
    "  --profile INDEX|NAME          colour profile (pseudo, scale)\n"
    "  --auto contrast|brightness    continuous automatic bounds (pseudo, scale)\n"
    "  --range LOW:HIGH              window in the display unit (pseudo, scale)\n"
    "  --settings FILE.ini           pseudo-colour settings (pseudo, scale)\n"
    "  --ini CALIB.ini               calibration: the temperature, and the display unit of every value\n"
    "                                the pseudo and scale dialogs show\n"
    "  --epsilon E                   emissivity, 0 < E <= 1 (temperature)\n"
    "  --input-bits N                significant bits of IN's grey values, 1..16\n"
    "  --max-memory SIZE             decoded image data the run may hold (K, M, G; default 1G,\n"
    "                                or $XELIMG_MAX_MEMORY)\n"
    "  --plugin PATH                 the plug-in library\n",
    kOptions,
    2,
    RunDialog};

}  // namespace xelimg
