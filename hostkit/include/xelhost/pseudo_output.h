// Where the pseudo command writes: a folder (one PNG a frame), one multi-page TIFF, one PNG, or
// standard output (one PNG).
#pragma once

#include <xelhost/frame_inputs.h>
#include <xelhost/framework_types.h>
#include <xelhost/operand_plan.h>

#include <filesystem>
#include <string>
#include <vector>

namespace xelhost {

enum class OutputKind { Folder, PngFile, TiffFile, StandardOutput };

struct OutputPlan {
  OutputKind kind;
  std::filesystem::path path;
};

// A .png or .tif name is a file, "-" standard output, an existing folder or a name without an
// extension a folder. Throws UsageError, before anything is written, for what cannot hold the
// inputs' frames or would be ambiguous: several frames into one PNG, a PGM, two inputs that would
// give the same file name in a folder, an output file that is also an input; CommandError for a
// place that cannot be written (see OperandPlan).
OutputPlan PlanOutput(const std::string& operand, const OperandPlan& operands);

// The file a frame gets in an output folder: the input's name without its extension, and for a
// multi-page input the page, as NAME.png or NAME-0003.png.
std::string FolderFileName(const InputFile& input, UINT page);

}  // namespace xelhost
