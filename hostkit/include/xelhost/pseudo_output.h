// Where the pseudo command writes: a folder (one PNG a frame), one multi-page TIFF, a video, one PNG,
// JPEG or WebP, or standard output (one PNG).
#pragma once

#include <xelhost/arguments.h>
#include <xelhost/frame_inputs.h>
#include <xelhost/framework_types.h>
#include <xelhost/operand_plan.h>
#include <xelhost/video_writer.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace xelhost {

enum class OutputKind { Folder, PngFile, TiffFile, StandardOutput, JpegFile, WebpFile, VideoFile };

struct OutputPlan {
  OutputKind kind;
  std::filesystem::path path;
  VideoFormat video = VideoFormat::Ffv1Matroska;  // of a VideoFile
};

// A name with one of the extensions below is a file, "-" standard output, an existing folder or a
// name without an extension a folder. Throws UsageError, before anything is written, for what
// cannot hold the inputs' frames or would be ambiguous: an extension not below (the message lists
// those that are), several frames into one picture, two inputs that would give the same file name
// in a folder, an output file that is also an input; CommandError for a place that cannot be written
// (see OperandPlan) or a video format this build or machine cannot encode (saying why).
OutputPlan PlanOutput(const std::string& operand, const OperandPlan& operands);

// How the output is encoded: --quality for JPEG (default 90) and WebP (lossy; lossless without it),
// --fps for a video (frames a second: from the option, else the input stream's, else 25).
struct OutputOptions {
  std::optional<int> quality;
  std::optional<FrameRate> fps;
};
inline constexpr std::array<OptionSpec, 2> kOutputOptionSpecs = {{{"quality", true}, {"fps", true}}};

// Throws UsageError for a value out of range or an option the output does not take, and for an
// output that holds 8 bits a component when more are asked for.
OutputOptions ParseOutputOptions(const Arguments& args, const OutputPlan& plan, unsigned outputBits);

// The file a frame gets in an output folder: the input's name without its extension, and for a
// multi-page input the page, as NAME.png or NAME-0003.png.
std::string FolderFileName(const InputFile& input, UINT page);

}  // namespace xelhost
