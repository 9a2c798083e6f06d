// Where the viewer's frames come from: image files played in order, or the animated demo scene.
#pragma once

#include <xelhost/framework_types.h>
#include <xelhost/memory_budget.h>

#include <xelfw/Image.h>

#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace xelhost {

inline constexpr UINT kLiveCount = std::numeric_limits<UINT>::max();

// Single-frame greyscale images by index, each read when it is asked for: a sequence costs the
// frames in flight, not its length. Frame may be called from one thread at a time, any thread.
class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // kLiveCount for a live stream, whose end is not known in advance.
  virtual UINT Count() const = 0;
  // index < Count(). Throws (naming the file and page) for a frame that cannot be read or shown.
  virtual xelfw::Image Frame(UINT index) const = 0;
};

// Files, each page of a multi-page TIFF a frame, and directories, whose image files (.png, .pgm,
// .tif, .tiff) play sorted by name. Opening lists the files and reads the headers of the first one
// and of the TIFFs (to count their pages); a PNG or PGM is one frame and is not opened until it is
// shown, so a folder of tens of thousands of frames opens at once. Throws for an empty directory or a
// first file that cannot be read or is in colour, before the viewer opens. The budget holds
// `framesInFlight` decoded frames of the first file's size and what showing one costs (`shown`); a
// larger frame later draws the difference when it is read, and a frame that would not fit is refused
// by its header; a sequence shorter than `framesInFlight` holds only its own frames. inputBits: the
// significant bits of every file's grey values, as --input-bits gives them.
std::unique_ptr<FrameSource> OpenFileFrames(const std::vector<std::filesystem::path>& inputs,
                                            std::optional<UINT> inputBits, MemoryBudget& budget, const FrameCost& shown,
                                            UINT framesInFlight);

std::unique_ptr<FrameSource> OpenDemoFrames();

// Frames already decoded, such as those read from standard input.
std::unique_ptr<FrameSource> FramesInMemory(std::vector<xelfw::Image> frames);

}  // namespace xelhost
