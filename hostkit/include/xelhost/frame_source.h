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

// Single-frame greyscale images by index. Read from the processing thread only.
class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // kLiveCount for a live stream, whose end is not known in advance.
  virtual UINT Count() const = 0;
  // index < Count().
  virtual xelfw::Image Frame(UINT index) const = 0;
};

// Files, each page of a multi-page TIFF a frame, and directories, whose image files (.png, .pgm,
// .tif, .tiff) play sorted by name. Everything is read here, so a bad file fails before the
// viewer opens: throws (naming the file) for an unreadable or colour image, an empty directory, or
// files that together need more than the budget has left. Every file is measured from its headers
// first, and what playing the largest frame costs (`shown`) is reserved with the files, so that no
// pixel is decoded for inputs the viewer cannot show. inputBits: the significant bits of every
// file's grey values, as --input-bits gives them.
std::unique_ptr<FrameSource> OpenFileFrames(const std::vector<std::filesystem::path>& inputs,
                                            std::optional<UINT> inputBits, MemoryBudget& budget,
                                            const FrameCost& shown);

std::unique_ptr<FrameSource> OpenDemoFrames();

// Frames already decoded, such as those read from standard input.
std::unique_ptr<FrameSource> FramesInMemory(std::vector<xelfw::Image> frames);

}  // namespace xelhost
