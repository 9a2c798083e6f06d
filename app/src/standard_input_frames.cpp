// Reading standard input through the batch commands' frame sequence, so that it is read the same way.
#include "standard_input_frames.h"

#include <xelhost/errors.h>
#include <xelhost/frame_inputs.h>

#include <cstdio>

namespace xelimg {

std::vector<xelfw::Image> ReadStandardInputFrames(std::optional<UINT> inputBits, MemoryBudget& budget,
                                                  const InputCost& alsoNeeds) {
  const std::vector<InputFile> inputs = ExpandInputs({kStandardStream});
  const auto admit = [&](const xelhost::ImageFileInfo& frame, const std::string& name) {
    budget.Reserve(frame.FrameBytes(), name);
    const Derived derived = alsoNeeds({frame.width, frame.height, 1, frame.layout});
    budget.Reserve(derived.bytes, derived.what);
  };
  FrameSequence sequence(inputs, admit, budget.Limit());
  std::vector<xelfw::Image> frames;
  while (std::optional<InputFrame> frame = sequence.Next()) {
    sequence.Load(*frame);
    if (!frame->image) throw CommandError("standard input: " + frame->error);
    frames.push_back(std::move(*frame->image));
  }
  if (frames.empty()) throw CommandError("standard input holds no image");
  if (const auto warning = ApplyInputBits(frames, inputBits, "standard input"))
    std::fprintf(stderr, "%s\n", warning->c_str());
  return frames;
}

}  // namespace xelimg
