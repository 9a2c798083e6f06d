// The inputs of a batch command: operands expanded into image files, and their frames in order.
#pragma once

#include <xelhost/framework_types.h>
#include <xelhost/input_image.h>

#include <xelfw/Image.h>
#include <xelhost/GstFrameSource.h>
#include <xelhost/image_io.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace xelhost {

// The operand that names standard input (a PGM or PNG: both are read in one pass).
inline constexpr const char* kStandardStream = "-";

// What makes two paths the same file, whether one names it through a symlink or a hard link.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct InputFile {
  std::string name;       // as the user gave it, or as found in a folder or by a pattern
  UINT pages = 1;         // as counted in advance (TIFF pages); the reader has the last word
  bool oneFrame = false;  // a PNG or PGM file, which never holds more than one frame
  bool stream = false;    // gst:PIPELINE or /dev/videoN: frames until the end of the stream (pages 0)
  std::optional<FileIdentity> identity = std::nullopt;  // a file that exists (standard input: when it is one)
};

// Operands in order; a folder gives its image files (.png, .pgm, .tif, .tiff) in name order, a
// pattern with * ? or [ its matches in name order. Throws UsageError for a folder without images or
// a pattern without matches, so that a typo does not pass for an empty batch, and CommandError for
// a FIFO, socket or device, found from its status before anything opens it (opening a FIFO waits
// for a writer that may never come). Each file is looked at once, so the cost grows with the count.
std::vector<InputFile> ExpandInputs(const std::vector<std::string>& operands);

// What TotalFrames gives when a stream is among the inputs.
inline constexpr std::size_t kUnknownFrames = std::numeric_limits<std::size_t>::max();
std::size_t TotalFrames(const std::vector<InputFile>& inputs);

// How streams are read: how long a frame may take before the source counts as stalled, and how
// many frames of each stream to take (all until the end of the stream when not given).
struct StreamInputOptions {
  xelhost::StreamOptions source;
  std::optional<std::size_t> frames;
};

// One frame of an input, or why it could not be read.
struct InputFrame {
  std::size_t index = 0;  // position in the whole batch
  std::size_t input = 0;  // position of its file in the inputs
  UINT page = 0;
  std::optional<xelfw::Image> image;       // empty when the frame was skipped or is still to be read
  std::optional<double> time;              // a stream frame's presentation time in seconds; files have none
  std::string error;                       // why, without the file name
  bool pending = false;                    // a one-frame file whose reading is left to FrameSequence::Load
  std::optional<xelhost::FrameRate> rate;  // a stream's frame: the rate its caps declare
};

// Asked before a frame is decoded, with its size and layout from the headers; throws (a
// CommandError naming what does not fit) to refuse it, so that a frame beyond the command's memory
// limit costs nothing.
using FrameAdmission = std::function<void(const xelhost::ImageFileInfo& frame, const std::string& name)>;

// Reads the inputs' frames one after the other, one frame in memory at a time. A file that cannot
// be opened gives one failed frame; a damaged page gives a failed frame and ends its file, as the
// reader cannot be trusted to find the next page. Standard input is read up to maxStreamBytes. A
// stream's frames are read as they come, each admitted on arrival; a stream that fails or stalls
// gives one failed frame and ends.
class FrameSequence {
 public:
  FrameSequence(const std::vector<InputFile>& inputs, FrameAdmission admit, std::size_t maxStreamBytes,
                StreamInputOptions streams = {});
  // The frames of one-frame files come pending, so that several threads can read them at once.
  std::optional<InputFrame> Next();
  // Reads a pending frame (or records why it could not); safe on several threads at once.
  void Load(InputFrame& frame) const;

 private:
  InputFrame Failed(std::string error);

  const std::vector<InputFile>& m_Inputs;
  FrameAdmission m_Admit;
  std::size_t m_MaxStreamBytes;
  StreamInputOptions m_Streams;
  std::size_t m_Input = 0;
  std::size_t m_Index = 0;
  UINT m_Page = 0;
  bool m_Opened = false;
  std::optional<xelhost::ImageFileReader> m_Reader;
  std::optional<xelhost::StreamFrameSource> m_Stream;
  std::optional<xelfw::Image> m_Whole;  // the demo scene or standard input, decoded in one go
};

// "FILE" for a one-page input, "FILE page P" otherwise, "STREAM frame F" for a stream.
std::string FrameLabel(const InputFile& input, UINT page);

}  // namespace xelhost
