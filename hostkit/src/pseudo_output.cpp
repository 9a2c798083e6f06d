// Choosing the output of the pseudo command from its last operand.
#include <xelhost/pseudo_output.h>

#include <xelhost/errors.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <unordered_map>

namespace xelhost {

namespace {

void RefuseNameClashes(const std::filesystem::path& folder, const OperandPlan& operands) {
  const std::vector<InputFile>& inputs = operands.Inputs();
  std::unordered_map<std::string, const std::string*> owner;
  for (const InputFile& input : inputs) {
    // A stream's frames are not counted in advance; its first file name stands for the rest.
    for (UINT page = 0; page < std::max<UINT>(input.pages, input.stream ? 1 : 0); ++page) {
      const std::string name = FolderFileName(input, page);
      operands.CheckNotAnInput(folder / name);
      const auto [it, fresh] = owner.emplace(name, &input.name);
      if (!fresh) {
        throw UsageError((folder / name).string() + " would be written from both " + *it->second + " and " +
                         input.name + "; run them into different folders");
      }
    }
  }
}

struct OutputType {
  const char* extension;
  OutputKind kind;
  const char* name;
  bool sequence;  // holds many frames
};

// Every file type pseudo writes, by extension; any other is refused with this list.
constexpr std::array<OutputType, 9> kOutputTypes = {{{".png", OutputKind::PngFile, "PNG", false},
                                                     {".jpg", OutputKind::JpegFile, "JPEG", false},
                                                     {".jpeg", OutputKind::JpegFile, "JPEG", false},
                                                     {".webp", OutputKind::WebpFile, "WebP", false},
                                                     {".tif", OutputKind::TiffFile, "TIFF", true},
                                                     {".tiff", OutputKind::TiffFile, "TIFF", true},
                                                     {".mkv", OutputKind::VideoFile, "video", true},
                                                     {".webm", OutputKind::VideoFile, "video", true},
                                                     {".mp4", OutputKind::VideoFile, "video", true}}};

constexpr int kMaxFramesPerSecond = 1000;
constexpr const char* kFpsRange = "--fps must lie above 0 and at most 1000";

// "25", "29.97" (to a thousandth of a frame: 2997/100) or a fraction "30000/1001", above 0 and at
// most 1000 frames a second.
FrameRate ParseFrameRate(const std::string& text) {
  FrameRate rate;
  if (const std::size_t slash = text.find('/'); slash != std::string::npos) {
    rate = {static_cast<int>(ParseIntegerOption("fps", std::string_view(text).substr(0, slash), 1, 1'000'000)),
            static_cast<int>(ParseIntegerOption("fps", std::string_view(text).substr(slash + 1), 1, 1'000'000))};
  } else {
    const double fps = ParseDoubleOption("fps", text);
    const double thousandths = std::round(fps * 1000.0);
    if (!(thousandths >= 1.0 && thousandths <= kMaxFramesPerSecond * 1000.0)) throw UsageError(kFpsRange);
    rate = {static_cast<int>(thousandths), 1000};
  }
  if (rate.numerator > kMaxFramesPerSecond * rate.denominator) throw UsageError(kFpsRange);
  const int common = std::gcd(rate.numerator, rate.denominator);
  return {rate.numerator / common, rate.denominator / common};
}

// "pseudo writes one picture to .png, ... or - (standard output), a sequence to a folder, .tif, ...":
// what this build accepts, videos only where it has GStreamer.
std::string AcceptedOutputs() {
  std::string single;
  std::string sequence;
  for (const OutputType& type : kOutputTypes) {
    if (type.kind == OutputKind::VideoFile && !VideoOutputsAvailable()) continue;
    (type.sequence ? sequence : single) += std::string(type.extension) + ", ";
  }
  return "pseudo writes one picture to " + single + "or - (standard output, PNG), and a sequence to a folder, " +
         sequence.substr(0, sequence.size() - 2);
}

const OutputType& OutputTypeOf(const std::filesystem::path& out) {
  std::string ext = out.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const OutputType& type : kOutputTypes) {
    if (ext != type.extension) continue;
    if (type.kind == OutputKind::VideoFile && !VideoOutputsAvailable()) {
      throw UsageError(out.string() + ": this build writes no video (built without GStreamer); " + AcceptedOutputs());
    }
    return type;
  }
  if (ext == ".pgm") throw UsageError(out.string() + ": a PGM holds no colour; " + AcceptedOutputs());
  throw UsageError(out.string() + ": unknown image file type " + ext + "; " + AcceptedOutputs());
}

}  // namespace

std::string FolderFileName(const InputFile& input, UINT page) {
  const std::string stem = input.name == kDemoInput         ? "demo"
                           : input.name == kStandardStream  ? "stdin"
                           : input.name.starts_with("gst:") ? "stream"
                                                            : std::filesystem::path(input.name).stem().string();
  if (!input.stream && input.pages <= 1 && page == 0) return stem + ".png";
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "-%04u.png", page);
  return stem + suffix;
}

OutputPlan PlanOutput(const std::string& operand, const OperandPlan& operands) {
  const std::size_t frames = TotalFrames(operands.Inputs());
  const std::string many = std::to_string(frames) + " frames";
  if (operand == kStandardStream) {
    if (frames != 1)
      throw UsageError("standard output takes one PNG, the inputs hold " + many + "; name a folder or a .tif");
    if (::isatty(STDOUT_FILENO) == 1)
      throw UsageError("standard output is a terminal; send the PNG to a file or a pipe");
    return {OutputKind::StandardOutput, {}};
  }
  const std::filesystem::path out = operand;
  if (std::filesystem::is_directory(out) || !out.has_extension() || operand.back() == '/') {
    operands.AddOutputFolder(out);
    RefuseNameClashes(out, operands);
    return {OutputKind::Folder, out};
  }
  // Known before any frame is read, so a run that could never write its file costs nothing.
  const OutputType& type = OutputTypeOf(out);
  operands.AddOutputFile(out);
  if (!type.sequence && frames != 1) {
    throw UsageError(operand + ": one " + type.name + " holds one frame, the inputs hold " + many +
                     "; name a folder, a .tif or a video");
  }
  OutputPlan plan{type.kind, out};
  if (type.kind == OutputKind::VideoFile) {
    plan.video = *VideoFormatFromPath(out);
    try {
      CheckVideoFormatAvailable(plan.video);
    } catch (const ImageIoError& error) {
      throw CommandError(operand + ": " + error.what());
    }
  }
  return plan;
}

OutputOptions ParseOutputOptions(const Arguments& args, const OutputPlan& plan, unsigned outputBits) {
  const bool picture = plan.kind == OutputKind::JpegFile || plan.kind == OutputKind::WebpFile;
  const bool video = plan.kind == OutputKind::VideoFile;
  if ((picture || video) && outputBits != 8) {
    throw UsageError("--bits " + std::to_string(outputBits) + ": " + plan.path.string() +
                     " holds 8 bits a component; write .png or .tif for more");
  }
  OutputOptions options;
  if (const auto text = args.Value("quality")) {
    if (!picture) throw UsageError("--quality applies to .jpg, .jpeg and .webp outputs");
    options.quality = static_cast<int>(ParseIntegerOption("quality", *text, 1, 100));
  }
  if (const auto text = args.Value("fps")) {
    if (!video) throw UsageError("--fps applies to video outputs (.mkv, .webm, .mp4)");
    options.fps = ParseFrameRate(*text);
  }
  return options;
}

}  // namespace xelhost
