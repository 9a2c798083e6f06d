// xelimg pseudo: a greyscale image file (or the demo scene) into a pseudo-colour image file.
#include "cli_error.h"
#include "command_table.h"
#include "demo_scene.h"
#include "memory_budget.h"
#include "plugin_location.h"
#include "pseudo_job.h"

#include <xelfw/image_io.h>

#include <array>

namespace xelimg {

namespace {

constexpr auto kOptions = [] {
  std::array<OptionSpec, kPseudoOptionSpecs.size() + 2> all{};
  for (std::size_t i = 0; i < kPseudoOptionSpecs.size(); ++i) all[i] = kPseudoOptionSpecs[i];
  all[all.size() - 2] = kMaxMemoryOption;
  all.back() = kPluginOption;
  return all;
}();

// Refuses what the output file cannot hold, and what the run would need beyond its memory limit, before
// any pixel is decoded, so that a doomed run leaves nothing behind and costs nothing.
void CheckOutput(const std::filesystem::path& out, const xelfw::ImageFileInfo& result) {
  const xelfw::ImageFileFormat format = xelfw::ImageFileFormatFromPath(out);
  if (format == xelfw::ImageFileFormat::Pgm) throw UsageError(out.string() + ": a PGM holds no colour; write .png or .tif");
  if (format == xelfw::ImageFileFormat::Png && result.frames > 1) {
    throw UsageError(out.string() + ": the input has " + std::to_string(result.frames) + " pages; write .tif to keep them");
  }
  xelfw::CheckImageFileWritable(result, out);
}

// The input, read only once the output can take its result and both fit the memory limit.
xelfw::Image ReadSource(const std::vector<std::string>& operands, const std::filesystem::path& out,
                        const PseudoOptions& options, MemoryBudget& budget) {
  const auto resultOf = [&](const xelfw::ImageFileInfo& source) {
    return xelfw::ImageFileInfo{source.width, source.height, source.frames,
                                xelfw::PixelLayout::Colour(options.outputBits, 3, XI_ORDER_RGB)};
  };
  if (operands.size() != 2) {
    xelfw::Image scene = MakeDemoScene();
    CheckOutput(out, resultOf({scene.Width(), scene.Height(), scene.Frames(), scene.Layout()}));
    return scene;
  }
  const std::string& in = operands[0];
  const xelfw::ImageFileInfo source = xelfw::InspectImageFile(in, budget.ReadLimits());
  const xelfw::ImageFileInfo result = resultOf(source);
  CheckOutput(out, result);
  budget.Reserve(source.DecodedBytes(), in);
  budget.Reserve(result.DecodedBytes(), out.string() + " (" + std::to_string(options.outputBits) + "-bit RGB)");
  return xelfw::ReadImageFile(in, {source.DecodedBytes(), source.frames});
}

int RunPseudo(const Arguments& args) {
  const auto& operands = args.Operands();
  if (operands.empty()) throw UsageError("missing output file (see 'xelimg pseudo --help')");
  const PseudoOptions options = ParsePseudoOptions(args);
  MemoryBudget budget = MemoryBudget::FromArguments(args);
  const std::filesystem::path out = operands.back();
  const xelfw::Image source = ReadSource(operands, out, options, budget);

  const xelfw::PluginLibrary library(PluginPath(args));
  const xelfw::Image result = RunPseudoColor(library, source, options);
  xelfw::WriteImageFile(result, out);
  return kExitOk;
}

}  // namespace

const Command kPseudoCommand{
    "pseudo",
    "pseudo [IN] OUT [options]                  greyscale image to pseudo colour",
    "usage: xelimg pseudo [IN] OUT [options]\n"
    "\n"
    "Runs the plug-in's \"Pseudo color lut\" object on IN, an 8- or 16-bit greyscale PNG, PGM or TIFF\n"
    "(every page of a TIFF), and writes the RGB result to OUT (.png or .tif). Without IN the built-in\n"
    "demo scene (16-bit, 320 x 240) is the input. OUT appears only when the whole run succeeded.\n"
    "\n"
    "  --profile INDEX|NAME      colour profile: 0..4 or a name (\"grey\", \"clipping\"); default 0\n"
    "  --lower L --upper U       LUT window as fractions 0..1 of the grey range (default 0 and 1)\n"
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
