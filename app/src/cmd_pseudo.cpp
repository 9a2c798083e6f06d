// xelimg pseudo: greyscale image files, folders or sequences into pseudo-colour images.
#include "batch/batch_options.h"
#include "batch/batch_report.h"
#include "batch/frame_inputs.h"
#include "batch/ordered_pipeline.h"
#include "batch/pseudo_output.h"
#include "cli_error.h"
#include "command_table.h"
#include "plugin_location.h"
#include "pseudo_job.h"

#include <xelfw/image_io.h>

#include <malloc.h>

#include <array>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <system_error>
#include <variant>

namespace xelimg {

namespace {

constexpr auto kOptions = [] {
  std::array<OptionSpec, kPseudoOptionSpecs.size() + kBatchOptionSpecs.size() + 1> all{};
  std::size_t i = 0;
  for (const OptionSpec& spec : kPseudoOptionSpecs) all[i++] = spec;
  for (const OptionSpec& spec : kBatchOptionSpecs) all[i++] = spec;
  all[i] = kPluginOption;
  return all;
}();

// What a worker hands on: nothing when it wrote its file itself (folder, single PNG), the compressed
// page for the one TIFF writer, or the PNG bytes for standard output.
using FrameProduct = std::variant<std::monostate, xelfw::TiffPage, std::vector<BYTE>>;

// Each worker owns its object; frames are independent of each other (see PseudoColorJob).
class FrameWorker {
 public:
  FrameWorker(const xelfw::PluginLibrary& library, const PseudoOptions& options, const OutputPlan& plan,
              const std::vector<InputFile>& inputs, xelfw::ImageCompression compression)
      : m_Job(library, options), m_Plan(plan), m_Inputs(inputs), m_Compression(compression) {}

  FrameProduct operator()(InputFrame& frame) {
    const xelfw::Image picture = m_Job.Run(*frame.image);
    switch (m_Plan.kind) {
      case OutputKind::Folder:
        xelfw::WriteImageFile(picture, m_Plan.path / FolderFileName(m_Inputs[frame.input], frame.page),
                              xelfw::ImageFileFormat::Png, m_Compression);
        return {};
      case OutputKind::PngFile:
        xelfw::WriteImageFile(picture, m_Plan.path, xelfw::ImageFileFormat::Png, m_Compression);
        return {};
      case OutputKind::StandardOutput:
        return xelfw::EncodePng(picture, m_Compression);
      case OutputKind::TiffFile:
        break;
    }
    return xelfw::EncodeTiffPage(picture, 0, m_Compression);
  }

 private:
  PseudoColorJob m_Job;
  const OutputPlan& m_Plan;
  const std::vector<InputFile>& m_Inputs;
  xelfw::ImageCompression m_Compression;
};

void WriteStandardOutput(const std::vector<BYTE>& bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
    throw CommandError("cannot write to standard output");
  }
}

void CreateFolder(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !std::filesystem::is_directory(folder)) {
    throw CommandError(folder.string() + ": cannot create the folder" + (error ? ": " + error.message() : ""));
  }
}

// Every frame allocates and frees the same few buffers of a megabyte or so. By default glibc gives
// such blocks back to the system and the next frame faults them in again, zeroed: a quarter of a
// batch's time. Kept, they are reused; memory stays what the frames in flight need.
void KeepFreedFrameBuffers() {
  constexpr int kFrameBuffersBytes = 64 << 20;
  ::mallopt(M_MMAP_THRESHOLD, kFrameBuffersBytes);
  ::mallopt(M_TRIM_THRESHOLD, kFrameBuffersBytes);
}

int RunPseudo(const Arguments& args) {
  PseudoOptions options = ParsePseudoOptions(args);
  BatchOptions batch = ParseBatchOptions(args);
  const auto& operands = args.Operands();
  if (operands.size() < 2) {
    throw UsageError("give the input(s) and then the output (see 'xelimg pseudo --help'); demo: names the demo scene");
  }
  // Log lines of several objects would interleave.
  if (options.log) batch.jobs = 1;
  // The jobs keep the processors busy already; each object's own pool would only hand its rows to
  // threads that compete with the other jobs.
  if (options.threads == 0 && batch.jobs > 1) options.threads = 1;
  const std::vector<InputFile> inputs = ExpandInputs({operands.begin(), operands.end() - 1});
  const OutputPlan plan = PlanOutput(operands.back(), inputs);

  KeepFreedFrameBuffers();
  const xelfw::PluginLibrary library(PluginPath(args));
  // A profile or settings file the object refuses ends the run before anything is created.
  const PseudoColorJob settingsCheck(library, options);
  if (plan.kind == OutputKind::Folder) CreateFolder(plan.path);
  const std::size_t frames = TotalFrames(inputs);
  std::optional<xelfw::TiffFileWriter> tiff;
  if (plan.kind == OutputKind::TiffFile) {
    tiff.emplace(plan.path, batch.compression, frames == 1 ? 1u : 0u);
  }

  BatchReport report(inputs, !batch.quiet);
  FrameSequence sequence(inputs);
  RunOrderedPipeline<FrameProduct, FrameWorker>(
      sequence, static_cast<unsigned>(std::min<std::size_t>(batch.jobs, std::max<std::size_t>(frames, 1))),
      [&] { return std::make_unique<FrameWorker>(library, options, plan, inputs, batch.compression); },
      [&](FrameOutcome<FrameProduct>& outcome) {
        if (!outcome.result) {
          report.Skipped(outcome.frame, outcome.error);
          return;
        }
        if (auto* page = std::get_if<xelfw::TiffPage>(&*outcome.result)) tiff->Add(*page);
        if (auto* bytes = std::get_if<std::vector<BYTE>>(&*outcome.result)) WriteStandardOutput(*bytes);
        report.Done();
      });
  if (tiff && report.DoneCount() > 0) tiff->Commit();
  return report.ExitCode();
}

}  // namespace

const Command kPseudoCommand{
    "pseudo",
    "pseudo IN... OUT [options]                 greyscale images to pseudo colour",
    "usage: xelimg pseudo IN... OUT [options]\n"
    "\n"
    "Runs the plug-in's \"Pseudo color lut\" object on every frame of the inputs and writes the RGB\n"
    "results to OUT. Each IN is an 8- or 16-bit greyscale PNG, PGM or TIFF (every page of a TIFF), a\n"
    "folder (its .png, .pgm and .tif files in name order), a pattern such as 'frames/*.png', '-' for\n"
    "standard input (PGM or PNG), or demo: for the built-in demo scene (16-bit, 320 x 240).\n"
    "\n"
    "OUT is a folder (one PNG a frame, named after its input, with the page for multi-page inputs),\n"
    "a .tif (one page a frame), a .png (one frame only) or '-' for standard output (one PNG). Every\n"
    "frame is processed as if it were the only one, so a folder gives the same pictures as its files\n"
    "one by one. A frame that cannot be read or processed is reported and skipped; the rest is\n"
    "written. Exit code 0: all written; 1: some frames skipped; 2: nothing written.\n"
    "\n"
    "  --profile INDEX|NAME      colour profile: 0..4 or a name (\"grey\", \"clipping\"); default 0\n"
    "  --lower L --upper U       LUT window as fractions 0..1 of the grey range (default 0 and 1)\n"
    "  --auto contrast|brightness  find the window from each frame's histogram\n"
    "  --settings FILE.ini       settings as 'xelimg settings export' writes them (applied first)\n"
    "  --jobs N                  frames processed at once (default: one per processor)\n"
    "  --compression fast|small  fast: PNGs uncompressed (3x larger); small: a few % smaller, far slower\n"
    "  --quiet                   no progress line on a terminal\n"
    "  --threads N               worker threads of each object (default: one per processor)\n"
    "  --log                     the object's log lines on stderr (one job at a time)\n"
    "  --bits 8|16               bits per colour component of OUT (default 8)\n"
    "  --plugin PATH             the plug-in library\n",
    kOptions,
    std::numeric_limits<std::size_t>::max(),
    RunPseudo};

}  // namespace xelimg
