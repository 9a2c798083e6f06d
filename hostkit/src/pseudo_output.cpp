// Choosing the output of the pseudo command from its last operand.
#include <xelhost/pseudo_output.h>

#include <xelhost/errors.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
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
  operands.AddOutputFile(out);
  switch (xelhost::ImageFileFormatFromPath(out)) {
    case xelhost::ImageFileFormat::Png:
      if (frames != 1)
        throw UsageError(operand + ": one PNG holds one frame, the inputs hold " + many + "; name a folder or a .tif");
      return {OutputKind::PngFile, out};
    case xelhost::ImageFileFormat::Tiff:
      return {OutputKind::TiffFile, out};
    case xelhost::ImageFileFormat::Pgm:
      break;
  }
  throw UsageError(operand + ": a PGM holds no colour; write .png or .tif");
}

}  // namespace xelhost
