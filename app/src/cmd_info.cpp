// xelimg info: what an image file is and what it records of how it was made.
#include <xelhost/errors.h>
#include <xelhost/file_description.h>
#include <xelhost/image_io.h>
#include <xelhost/temperature_report.h>
#include "command_table.h"
#include "exit_status.h"
#include "host_kit.h"

#include <array>
#include <cstdio>
#include <limits>
#include <string>

namespace xelimg {

namespace {

constexpr std::array<OptionSpec, 1> kOptions = {{{"json", false}}};

std::string SampleText(const xelhost::ImageFileDescription& file) {
  const char* kind = file.samplesPerPixel == 1 ? "grey" : file.samplesPerPixel == 3 ? "RGB" : "samples";
  return std::to_string(file.bitsPerSample) + "-bit " + (file.floatSamples ? "float " : "") + kind;
}

void PrintText(const std::string& name, const xelhost::ImageFileDescription& file) {
  std::printf("file: %s\nformat: %s\nsize: %u x %u\nsamples: %s\npages: %u\n", name.c_str(), file.format.c_str(),
              file.width, file.height, SampleText(file).c_str(), file.pages);
  for (const xelhost::ProvenanceField& field : file.record.Fields()) {
    std::printf("%s: %s\n", field.key.c_str(), field.value.c_str());
  }
}

void PrintJson(const std::string& name, const xelhost::ImageFileDescription& file) {
  using xelhost::JsonString;
  std::string line = "{\"file\": " + JsonString(name) + ", \"format\": " + JsonString(file.format) +
                     ", \"width\": " + std::to_string(file.width) + ", \"height\": " + std::to_string(file.height) +
                     ", \"bits\": " + std::to_string(file.bitsPerSample) +
                     ", \"samples\": " + std::to_string(file.samplesPerPixel) +
                     ", \"float\": " + (file.floatSamples ? "true" : "false") +
                     ", \"pages\": " + std::to_string(file.pages) + ", \"provenance\": {";
  const char* separator = "";
  for (const xelhost::ProvenanceField& field : file.record.Fields()) {
    line += separator + JsonString(field.key) + ": " + JsonString(field.value);
    separator = ", ";
  }
  std::printf("%s}}\n", line.c_str());
}

int RunInfo(const Arguments& args) {
  const auto& operands = args.Operands();
  if (operands.empty()) throw UsageError("give the image file(s) (see 'xelimg info --help')");
  int status = kExitOk;
  for (const std::string& name : operands) {
    try {
      const xelhost::ImageFileDescription file = xelhost::DescribeImageFile(name);
      if (args.Has("json")) {
        PrintJson(name, file);
      } else {
        if (&name != &operands.front()) std::printf("\n");
        PrintText(name, file);
      }
    } catch (const xelhost::ImageIoError& error) {
      std::fprintf(stderr, "xelimg: %s\n", error.what());
      status = kExitFailure;
    }
  }
  std::fflush(stdout);
  return status;
}

}  // namespace

const Command kInfoCommand{
    "info",
    "info FILE... [--json]                      what an image file is and what made it",
    "usage: xelimg info FILE... [--json]\n"
    "\n"
    "Prints, for each PNG, TIFF or PGM file, its format, size, samples (bits, grey or RGB, float) and\n"
    "pages, then the provenance it records: the fields xelimg writes into every picture and\n"
    "temperature map (Software, Source, Frame, FrameTime, InputBits, Profile, Window, WindowInUnit,\n"
    "Unit, Calibration, CalibrationSHA256, Emissivity; README: Provenance), and a TIFF's DateTime.\n"
    "Files from elsewhere show what they have of the same: PNG text chunks, TIFF Software and PageName.\n"
    "A file that cannot be read is reported on stderr; exit code 2 then.\n"
    "\n"
    "  --json   one JSON object a file: file, format, width, height, bits, samples, float, pages and\n"
    "           provenance (an object of the fields in their order)\n",
    kOptions,
    std::numeric_limits<std::size_t>::max(),
    RunInfo};

}  // namespace xelimg
