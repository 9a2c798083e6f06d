// xelimg pseudo: greyscale image files, folders or sequences into pseudo-colour images.
#include <xelhost/area_option.h>
#include <xelhost/calibration_option.h>
#include <xelhost/errors.h>
#include <xelhost/frame_inputs.h>
#include <xelhost/input_image.h>
#include <xelhost/legend.h>
#include <xelhost/line_plot.h>
#include <xelhost/line_profile.h>
#include <xelhost/marks.h>
#include <xelhost/memory_budget.h>
#include <xelhost/operand_plan.h>
#include <xelhost/ordered_pipeline.h>
#include <xelhost/pseudo_job.h>
#include <xelhost/pseudo_output.h>
#include <xelhost/pseudo_provenance.h>
#include <xelhost/shared_pictures.h>
#include <xelhost/video_writer.h>
#include "batch/batch_options.h"
#include "batch/batch_report.h"
#include "command_table.h"
#include "host_kit.h"
#include "plugin_location.h"

#include <xelhost/image_io.h>

#include <malloc.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <system_error>
#include <variant>

namespace xelimg {

namespace {

constexpr auto kOptions = [] {
  std::array<OptionSpec, kPseudoOptionSpecs.size() + kBatchOptionSpecs.size() + kLegendOptionSpecs.size() +
                             kOutputOptionSpecs.size() + 11>
      all{};
  std::size_t i = 0;
  for (const OptionSpec& spec : kPseudoOptionSpecs) all[i++] = spec;
  for (const OptionSpec& spec : kOutputOptionSpecs) all[i++] = spec;
  for (const OptionSpec& spec : kLegendOptionSpecs) all[i++] = spec;
  for (const OptionSpec& spec : kBatchOptionSpecs) all[i++] = spec;
  all[i++] = kAreaOption;
  all[i++] = kAreasFileOption;
  all[i++] = {"mark", false};
  all[i++] = kLineOption;
  all[i++] = kLinePlotOption;
  all[i++] = kInputBitsOption;
  all[i++] = kCalibrationOption;
  all[i++] = kMaxMemoryOption;
  all[i++] = kFramesOption;
  all[i++] = kTimeoutOption;
  all[i] = kPluginOption;
  return all;
}();

// What a worker hands on: nothing when it wrote its file itself (folder, single picture), the
// compressed page for the one TIFF writer, the PNG bytes for standard output, or the picture for the
// video encoder; and whether the frame found no automatic window.
struct FrameProduct {
  std::variant<std::monostate, xelhost::TiffPage, std::vector<BYTE>, xelfw::Image> output;
  bool windowNotFound = false;
  xelhost::Provenance record;  // what the TIFF writer tags the page with
};

// What every worker of one run shares.
struct RunContext {
  const PseudoOptions& options;
  std::optional<UINT> inputBits;
  const OutputPlan& plan;
  const xelhost::OutputOptions& output;
  const std::vector<InputFile>& inputs;
  xelhost::ImageCompression compression;
  std::optional<LegendOptions> legend;
  std::optional<std::vector<xelhost::MeasurementArea>> marks;  // the areas --mark draws
  std::vector<xelhost::ProfileLine> lines;                     // drawn by --mark, plotted by --line-plot
  std::optional<std::filesystem::path> plot;                   // --line-plot
  bool plotEachFrame = false;                                  // the plot's name gets the frame's number
  std::atomic_flag bitsChecked;           // the first frame was scanned for the advice to give --input-bits
  xelhost::Provenance calibrationRecord;  // read once, into every picture's record
};

// Each worker owns its object; frames are independent of each other (see PseudoColorJob).
class FrameWorker {
 public:
  FrameWorker(const xelfw::PluginLibrary& library, RunContext& run) : m_Job(library, run.options), m_Run(run) {}

  FrameProduct operator()(InputFrame& frame) {
    const InputFile& input = m_Run.inputs[frame.input];
    // Without --input-bits only the first frame is scanned for the advice: it is about the camera, and
    // a scan of every frame costs more than the warning is worth.
    if (m_Run.inputBits || !m_Run.bitsChecked.test_and_set()) {
      if (auto warning = ApplyInputBits({&*frame.image, 1}, m_Run.inputBits, input.name))
        std::fprintf(stderr, "%s\n", warning->c_str());
    }
    PseudoResult result = m_Job.Run(*frame.image);
    const xelfw::TemperatureCalibration calibration =
        m_Run.options.calibration.value_or(xelfw::TemperatureCalibration{});
    if (m_Run.marks) MarkAreas(result.image, *frame.image, *m_Run.marks, m_Run.lines, calibration);
    if (m_Run.plot) {
      xelhost::WriteImageFile(PlotLines(*frame.image, m_Run.lines, calibration), PlotPath(frame.index),
                              xelhost::ImageFileFormat::Png, m_Run.compression);
    }
    if (m_Run.legend) {
      result.image = AddLegend(result.image, result, frame.image->Layout().imgBPC, m_Job, m_Run.options.calibration,
                               *m_Run.legend);
    }
    xelhost::Provenance record = xelhost::StartProvenance("xelimg");
    xelhost::SetProvenanceSource(record, input.name, frame.page, input.stream);
    xelhost::SetPseudoProvenance(record, *frame.image, result, m_Run.options.calibration);
    record.Append(m_Run.calibrationRecord);
    auto output = Output(std::move(result.image), frame, record);
    return {std::move(output), result.windowNotFound, std::move(record)};
  }

 private:
  // OUT.png for a single frame; plot.png becomes plot-0.png, plot-1.png, ... for several.
  std::filesystem::path PlotPath(std::size_t index) const {
    if (!m_Run.plotEachFrame) return *m_Run.plot;
    std::filesystem::path path = *m_Run.plot;
    return path.replace_filename(path.stem().string() + "-" + std::to_string(index) + path.extension().string());
  }

  decltype(FrameProduct::output) Output(xelfw::Image picture, const InputFrame& frame,
                                        const xelhost::Provenance& record) {
    const xelhost::ImageCompression compression = m_Run.compression;
    switch (m_Run.plan.kind) {
      case OutputKind::Folder:
        xelhost::WriteImageFile(picture, m_Run.plan.path / FolderFileName(m_Run.inputs[frame.input], frame.page),
                                xelhost::ImageFileFormat::Png, compression, &record);
        return {};
      case OutputKind::PngFile:
        xelhost::WriteImageFile(picture, m_Run.plan.path, xelhost::ImageFileFormat::Png, compression, &record);
        return {};
      case OutputKind::JpegFile:
        xelhost::WriteJpegFile(picture, m_Run.plan.path, m_Run.output.quality.value_or(xelhost::kDefaultJpegQuality),
                               &record);
        return {};
      case OutputKind::WebpFile:
        xelhost::WriteWebpFile(picture, m_Run.plan.path, m_Run.output.quality, &record);
        return {};
      case OutputKind::StandardOutput:
        return xelhost::EncodePng(picture, compression, &record);
      case OutputKind::VideoFile:
        return picture;
      case OutputKind::TiffFile:
        break;
    }
    return xelhost::EncodeTiffPage(picture, 0, compression);
  }

  PseudoColorJob m_Job;
  RunContext& m_Run;
};

// Every frame in flight holds its grey frame and its picture (twice with a legend: the picture and the
// picture framed).
std::size_t PictureBytes(const xelhost::ImageFileInfo& frame, UINT bits, bool legend) {
  return std::size_t{frame.width} * frame.height * 3 * (bits / 8) * (legend ? 2 : 1);
}

// A frame whose two cannot fit the memory limit is refused from its headers, before it is decoded;
// frames that fit wait for each other in the pipeline.
FrameAdmission AdmitWithin(std::size_t limit, const PseudoOptions& options, const OutputPlan& plan, bool legend) {
  return [limit, bits = options.outputBits, out = plan.path.string(), legend](const xelhost::ImageFileInfo& frame,
                                                                              const std::string& name) {
    MemoryBudget budget(limit);
    budget.Reserve(frame.FrameBytes(), name);
    budget.Reserve(PictureBytes(frame, bits, legend), out + " (" + std::to_string(bits) + "-bit RGB)");
  };
}

// A write that every later frame would repeat ends the batch instead of failing each frame.
std::string LastingFailure(const OutputPlan& plan, const std::string& error) {
  return plan.kind == OutputKind::Folder ? xelhost::LastingOutputFailure(plan.path, error) : std::string();
}

void WriteStandardOutput(const std::vector<BYTE>& bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
    throw CommandError("cannot write to standard output");
  }
}

// A stream read until it ends may never end, and into a folder it writes a file a frame until the
// disk is full: the user hears once how to stop it.
void SayHowToStopStreams(const std::vector<InputFile>& inputs, const OutputPlan& plan,
                         const StreamInputOptions& streams) {
  if (plan.kind != OutputKind::Folder || streams.frames) return;
  for (const InputFile& input : inputs) {
    if (!input.stream) continue;
    std::fprintf(stderr,
                 "xelimg: %s is read until it ends, a PNG a frame into %s; Ctrl+C stops it (the files written "
                 "stay), --frames N takes N frames\n",
                 input.name.c_str(), plan.path.string().c_str());
    return;
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
  if (!options.isotherms.empty() && !args.Has(kCalibrationOption.name))
    throw UsageError("--isotherm needs --ini: its band is a calibrated temperature");
  BatchOptions batch = ParseBatchOptions(args);
  const std::optional<LegendOptions> legend = ParseLegendOptions(args);
  std::optional<std::vector<xelhost::MeasurementArea>> marks;
  if (args.Has("mark")) marks = ParseAreas(args);
  if (!marks && args.Has(kAreaOption.name)) throw UsageError("--aoi needs --mark");
  if (!marks && args.Has(kAreasFileOption.name)) throw UsageError("--areas needs --mark");
  const std::vector<xelhost::ProfileLine> lines = ParseLines(args);
  const std::optional<std::string> plot = args.Value(kLinePlotOption.name);
  if (!lines.empty() && !marks && !plot) throw UsageError("--line needs --mark or --line-plot");
  if (plot && lines.empty()) throw UsageError("--line-plot needs at least one --line");
  if (marks) CheckMarkNames(*marks, lines);
  StreamInputOptions streams = ParseStreamOptions(args);
  const auto& operands = args.Operands();
  if (operands.size() < 2) {
    throw UsageError("give the input(s) and then the output (see 'xelimg pseudo --help'); demo: names the demo scene");
  }
  // Log lines of several objects would interleave.
  if (options.log) batch.jobs = 1;
  // The jobs keep the processors busy already; each object's own pool would only hand its rows to
  // threads that compete with the other jobs.
  if (options.threads == 0 && batch.jobs > 1) options.threads = 1;
  const OperandPlan operandPlan({operands.begin(), operands.end() - 1});
  const std::vector<InputFile>& inputs = operandPlan.Inputs();
  const OutputPlan plan = PlanOutput(operands.back(), operandPlan);
  const xelhost::OutputOptions outputOptions = xelhost::ParseOutputOptions(args, plan, options.outputBits);
  const std::optional<UINT> inputBits = ParseInputBits(args);
  MemoryBudget budget = MemoryBudget::FromArguments(args);
  streams.source.maxFrameBytes = budget.Limit();

  KeepFreedFrameBuffers();
  const xelfw::PluginLibrary library(PluginPath(args));
  options.calibration = ReadCalibrationOption(args, library);
  // A profile or settings file the object refuses ends the run before anything is created.
  const PseudoColorJob settingsCheck(library, options);
  if (plan.kind == OutputKind::Folder) CreateFolder(plan.path);
  SayHowToStopStreams(inputs, plan, streams);
  const std::size_t frames = TotalFrames(inputs);
  std::optional<xelhost::TiffFileWriter> tiff;
  if (plan.kind == OutputKind::TiffFile) {
    tiff.emplace(plan.path, batch.compression, frames == 1 ? 1u : 0u);
  }

  const auto jobs = static_cast<unsigned>(std::min<std::size_t>(batch.jobs, std::max<std::size_t>(frames, 1)));
  RunContext run{options,
                 inputBits,
                 plan,
                 outputOptions,
                 inputs,
                 batch.compression,
                 legend,
                 marks,
                 lines,
                 plot ? std::optional<std::filesystem::path>(*plot) : std::nullopt,
                 frames != 1,
                 {},
                 xelhost::CalibrationProvenance(args, options.calibration)};
  std::optional<xelhost::VideoFileWriter> video;
  BatchReport report(inputs, !batch.quiet);
  FrameSequence sequence(inputs, AdmitWithin(budget.Limit(), options, plan, legend.has_value()), budget.Limit(),
                         streams);
  const PipelineBudget frameBudget{
      budget, [bits = options.outputBits, framed = legend.has_value()](const xelhost::ImageFileInfo& frame) {
        return frame.FrameBytes() + PictureBytes(frame, bits, framed);
      }};
  RunOrderedPipeline<FrameProduct, FrameWorker>(
      sequence, jobs, [&] { return std::make_unique<FrameWorker>(library, run); },
      [&](FrameOutcome<FrameProduct>& outcome) {
        if (!outcome.result && plan.kind == OutputKind::VideoFile) {
          throw CommandError(FrameLabel(inputs[outcome.frame.input], outcome.frame.page) + ": " + outcome.error +
                             "; a video cannot skip a frame, nothing written");
        }
        if (!outcome.result) {
          if (auto lasting = LastingFailure(plan, outcome.error); !lasting.empty()) {
            throw CommandError(lasting + "; stopped, the " + std::to_string(report.DoneCount()) +
                               " frames written are kept");
          }
          report.Skipped(outcome.frame, outcome.error);
          return;
        }
        if (auto* page = std::get_if<xelhost::TiffPage>(&outcome.result->output))
          tiff->Add(*page, &outcome.result->record);
        if (auto* bytes = std::get_if<std::vector<BYTE>>(&outcome.result->output)) WriteStandardOutput(*bytes);
        if (auto* picture = std::get_if<xelfw::Image>(&outcome.result->output)) {
          if (!video) {
            video.emplace(plan.path, plan.video,
                          outputOptions.fps.value_or(outcome.frame.rate.value_or(xelhost::FrameRate{})));
          }
          video->Add(*picture);
        }
        if (outcome.result->windowNotFound)
          report.Warned(outcome.frame, "no automatic window (--log says why); the window of the settings was used");
        report.Done();
      },
      &frameBudget);
  if (tiff && report.DoneCount() > 0) tiff->Commit();
  if (video) video->Commit();
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
    "standard input (PGM or PNG), demo: for the built-in demo scene (16-bit, 320 x 240), or a video\n"
    "stream: gst:PIPELINE (a gst-launch-1.0 description giving GRAY8 or GRAY16_LE) or /dev/videoN.\n"
    "\n"
    "OUT is a folder (one PNG a frame, named after its input, with the page for multi-page inputs),\n"
    "a .tif/.tiff (one page a frame), a video, one picture (.png; .jpg/.jpeg, JPEG at --quality;\n"
    ".webp, lossless WebP, lossy at --quality) or '-' for standard output (one PNG). Videos are\n"
    "written through GStreamer at --fps, legend and marks included: .mkv is FFV1 in Matroska\n"
    "(lossless: it decodes to the very pixels of the PNGs), .webm VP9 and .mp4 H.264 (needs\n"
    "GStreamer's x264enc, Debian package gstreamer1.0-plugins-ugly); both 4:2:0 for any player, an\n"
    "odd width or height made even by repeating the last column or row. Any other extension is\n"
    "refused before anything is read, naming those accepted. Every frame is processed as if it were\n"
    "the only one, so a folder gives the same pictures as its files one by one. A frame that cannot\n"
    "be read or processed is reported and skipped, the rest is written; a video cannot skip one, so\n"
    "it ends the run and no video is written. Exit code 0: all written; 1: some frames skipped, or a\n"
    "requested automatic window not found for some frame (warned about); 2: nothing written.\n"
    "\n"
    "  --profile INDEX|NAME      colour profile: 0..4 or a name (\"grey\", \"clipping\"); default 0\n"
    "  --lower L --upper U       LUT window as fractions 0..1 of the grey range (default 0 and 1);\n"
    "                            equal bounds make a threshold\n"
    "  --range LOW:HIGH          LUT window in the display unit (calibrated with --ini), e.g. 20:80\n"
    "  --ini CALIB.ini           temperature calibration: the display unit of --range\n"
    "  --input-bits N            significant bits of the grey values, 1..16 (default: what each file\n"
    "                            declares)\n"
    "  --auto contrast|brightness  find the window from each frame's histogram\n"
    "  --settings FILE.ini       settings as 'xelimg settings export' writes them (applied first)\n"
    "  --jobs N                  frames processed at once (default: one per processor)\n"
    "  --compression fast|small  fast: PNGs uncompressed (3x larger); small: a few % smaller, far slower\n"
    "  --quiet                   no progress line on a terminal\n"
    "  --threads N               worker threads of each object (default: one per processor)\n"
    "  --log                     the object's log lines on stderr (one job at a time)\n"
    "  --bits 8|16               bits per colour component of OUT (default 8)\n"
    "  --quality Q               JPEG or lossy WebP quality, 1..100 (JPEG default 90; WebP without it:\n"
    "                            lossless)\n"
    "  --fps N                   frames a second of a video, e.g. 25, 29.97 or 30000/1001 (default:\n"
    "                            the input stream's rate, else 25)\n"
    "  --legend right|bottom     a colour bar beside the picture in the frame's own colours, labelled\n"
    "                            in the display unit (calibrated with --ini) as the Scale dialog is\n"
    "  --title TEXT              a title above the picture (with --legend)\n"
    "  --mark                    outline each --aoi area and cross its hottest pixel (through --ini),\n"
    "                            white or black, draw each --line, and label each with its name and\n"
    "                            highest temperature; without --aoi and --line, the whole picture's\n"
    "                            hottest pixel\n"
    "  --aoi [NAME=]SHAPE        an area --mark draws: X,Y,W,H, ellipse:CX,CY,RX,RY,\n"
    "                            polygon:X1,Y1,X2,Y2,X3,Y3[,...] or spot:X,Y[,R]; repeat for several\n"
    "  --areas FILE              more areas for --mark, one [NAME=]SHAPE a line (# starts a comment)\n"
    "  --line [NAME=]X1,Y1,X2,Y2 a line of pixels (Bresenham's) --mark draws and --line-plot plots\n"
    "  --line-plot OUT.png       the temperature along every --line in the display unit, one picture a\n"
    "                            frame (OUT-0.png, OUT-1.png, ... for several frames)\n"
    "  --isotherm LOW:HIGH[:#RRGGBB]  paint the pixels whose temperature (through --ini, which it\n"
    "                            needs) lies in LOW..HIGH one colour; default magenta, cyan for profiles\n"
    "                            2 and 3; a later band wins where bands overlap; repeat for several\n"
    "  --frames N                take at most N frames of each stream (default: until it ends)\n"
    "  --timeout SECONDS         a stream that sends no frame for this long has stalled (default 5)\n"
    "  --max-memory SIZE         decoded image data the frames in flight may hold, grey frames and\n"
    "                            pictures together (bytes, or with K, M, G; default 1G, or\n"
    "                            $XELIMG_MAX_MEMORY)\n"
    "  --plugin PATH             the plug-in library\n",
    kOptions,
    std::numeric_limits<std::size_t>::max(),
    RunPseudo};

}  // namespace xelimg
