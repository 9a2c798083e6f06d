// xelimg pseudo: a greyscale image file (or the demo scene) into a pseudo-colour image file.
#include "calibration_option.h"
#include "cli_error.h"
#include "command_table.h"
#include "input_image.h"
#include "memory_budget.h"
#include "plugin_location.h"
#include "pseudo_job.h"

#include <xelfw/image_io.h>

#include <array>

namespace xelimg {

namespace {

constexpr auto kOptions = [] {
  std::array<OptionSpec, kPseudoOptionSpecs.size() + 4> all{};
  for (std::size_t i = 0; i < kPseudoOptionSpecs.size(); ++i) all[i] = kPseudoOptionSpecs[i];
  all[kPseudoOptionSpecs.size()] = kInputBitsOption;
  all[kPseudoOptionSpecs.size() + 1] = kCalibrationOption;
  all[kPseudoOptionSpecs.size() + 2] = kMaxMemoryOption;
  all.back() = kPluginOption;
  return all;
}();

// Refuses what the output file cannot hold before any pixel is decoded, so that a doomed run leaves
// nothing behind and costs nothing.
void CheckOutput(const std::filesystem::path& out, const xelfw::ImageFileInfo& result) {
  const xelfw::ImageFileFormat format = xelfw::ImageFileFormatFromPath(out);
  if (format == xelfw::ImageFileFormat::Pgm) throw UsageError(out.string() + ": a PGM holds no colour; write .png or .tif");
  if (format == xelfw::ImageFileFormat::Png && result.frames > 1) {
    throw UsageError(out.string() + ": the input has " + std::to_string(result.frames) + " pages; write .tif to keep them");
  }
  xelfw::CheckImageFileWritable(result, out);
}

int RunPseudo(const Arguments& args) {
  const auto& operands = args.Operands();
  // Both are required: with one operand there is no telling an input from an output, and guessing
  // wrong would overwrite the user's picture.
  if (operands.size() != 2) throw UsageError("usage: xelimg pseudo IN OUT [options] (IN may be demo:; see --help)");
  PseudoOptions options = ParsePseudoOptions(args);
  const std::filesystem::path out = operands[1];
  MemoryBudget budget = MemoryBudget::FromArguments(args);
  // The output is checked, and its picture counted, before the input is decoded.
  const xelfw::Image source = ReadInputImage(operands[0], ParseInputBits(args), budget, [&](const xelfw::ImageFileInfo& in) {
    const xelfw::ImageFileInfo result{in.width, in.height, in.frames,
                                      xelfw::PixelLayout::Colour(options.outputBits, 3, XI_ORDER_RGB)};
    CheckOutput(out, result);
    return Derived{result.DecodedBytes(), out.string() + " (" + std::to_string(options.outputBits) + "-bit RGB)"};
  });

  const xelfw::PluginLibrary library(PluginPath(args));
  options.calibration = ReadCalibrationOption(args, library);
  const PseudoResult result = RunPseudoColor(library, source, options, operands[0]);
  xelfw::WriteImageFile(result.image, out);
  return result.failedWindows == 0 ? kExitOk : kExitWarning;
}

}  // namespace

const Command kPseudoCommand{
    "pseudo",
    "pseudo IN OUT [options]                    greyscale image to pseudo colour",
    "usage: xelimg pseudo IN OUT [options]\n"
    "\n"
    "Runs the plug-in's \"Pseudo color lut\" object on IN, an 8- or 16-bit greyscale PNG, PGM or TIFF\n"
    "(every page of a TIFF), or demo: for the built-in demo scene (16-bit, 320 x 240), and writes the\n"
    "RGB result to OUT (.png or .tif). OUT appears only when the whole run succeeded. Exit status 1:\n"
    "written, but a requested automatic window was not found for some frame (warned about on stderr).\n"
    "\n"
    "  --profile INDEX|NAME      colour profile: 0..4 or a name (\"grey\", \"clipping\"); default 0\n"
    "  --lower L --upper U       LUT window as fractions 0..1 of the grey range (default 0 and 1);\n"
    "                            equal bounds make a threshold\n"
    "  --range LOW:HIGH          LUT window in the display unit (calibrated with --ini), e.g. 20:80\n"
    "  --ini CALIB.ini           temperature calibration: the display unit of --range and the dialogs\n"
    "  --input-bits N            significant bits of IN's grey values, 1..16 (default: what IN declares)\n"
    "  --auto contrast|brightness  find the window from the image's histogram\n"
    "  --settings FILE.ini       settings as 'xelimg settings export' writes them (applied first)\n"
    "  --threads N               worker threads (default: one per processor)\n"
    "  --log                     the object's log lines on stderr\n"
    "  --bits 8|16               bits per colour component of OUT (default 8)\n"
    "  --max-memory SIZE         decoded image data the run may hold, input and result together\n"
    "                            (bytes, or with K, M, G; default 1G, or $XELIMG_MAX_MEMORY)\n"
    "  --plugin PATH             the plug-in library\n",
    kOptions,
    2,
    RunPseudo};

}  // namespace xelimg
