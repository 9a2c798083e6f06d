// Reading inputs and settling their significant bits.
#include <xelhost/input_image.h>

#include <xelhost/demo_scene.h>
#include <xelhost/errors.h>

#include <xelhost/image_io.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

namespace xelhost {

namespace {

UINT LargestValue(const xelfw::Image& image) {
  UINT largest = 0;
  const std::size_t count = std::size_t{image.Width()} * image.Height();
  for (UINT frame = 0; frame < image.Frames(); ++frame) {
    const BYTE* data = image.Data(frame);
    for (std::size_t i = 0; i < count; ++i) {
      UINT value = 0;
      if (image.Layout().memBPC == 8) {
        value = data[i];
      } else {
        std::uint16_t unit = 0;
        std::memcpy(&unit, data + 2 * i, sizeof unit);
        value = unit;
      }
      largest = std::max(largest, value);
    }
  }
  return largest;
}

UINT LargestValue(std::span<const xelfw::Image> images) {
  UINT largest = 0;
  for (const xelfw::Image& image : images) largest = std::max(largest, LargestValue(image));
  return largest;
}

}  // namespace

std::optional<UINT> ParseInputBits(const Arguments& args) {
  const auto text = args.Value(kInputBitsOption.name);
  if (!text) return std::nullopt;
  const unsigned bits = ParseUnsignedOption(kInputBitsOption.name, *text);
  if (bits < 1 || bits > 16) throw UsageError("--input-bits must be 1 to 16");
  return bits;
}

std::optional<std::string> ApplyInputBits(std::span<xelfw::Image> frames, std::optional<UINT> inputBits,
                                          const std::string& name) {
  if (frames.empty() || frames.front().Layout().formatClass != XI_IMGFORMAT_CLASS_GREYSCALE) return std::nullopt;
  const xelfw::PixelLayout layout = frames.front().Layout();
  if (inputBits) {
    if (*inputBits > layout.memBPC) {
      throw CommandError(name + ": --input-bits " + std::to_string(*inputBits) + " exceeds the file's " +
                         std::to_string(layout.memBPC) + "-bit samples");
    }
    // Values are read as stored; the file's own depth only told how far they reach.
    const UINT largest = LargestValue(frames);
    if (static_cast<UINT>(std::bit_width(largest)) > *inputBits) {
      throw CommandError(name + ": the value " + std::to_string(largest) + " needs more than --input-bits " +
                         std::to_string(*inputBits));
    }
    for (xelfw::Image& frame : frames) frame.SetSignificantBits(*inputBits);
    return std::nullopt;
  }
  if (frames.front().SignificantBitsDeclared()) return std::nullopt;
  // Zeros read the same at any depth.
  const auto needed = static_cast<UINT>(std::bit_width(LargestValue(frames)));
  if (needed == 0 || needed + 2 > layout.imgBPC) return std::nullopt;
  return "xelimg: warning: " + name + " declares no significant bits and its values need only " +
         std::to_string(needed) + " of its " + std::to_string(layout.imgBPC) + "; they are read as " +
         std::to_string(layout.imgBPC) + "-bit (give --input-bits, e.g. --input-bits 14 for a 14-bit camera)";
}

xelfw::Image ReadInputImage(const std::string& operand, std::optional<UINT> inputBits, MemoryBudget& budget,
                            const InputCost& alsoNeeds) {
  if (operand == kDemoInput) {
    xelfw::Image scene = MakeDemoScene();
    const Derived derived = alsoNeeds({scene.Width(), scene.Height(), scene.Frames(), scene.Layout()});
    budget.Reserve(derived.bytes, derived.what);
    return scene;
  }
  const xelhost::ImageFileInfo info = xelhost::InspectImageFile(operand, budget.ReadLimits());
  budget.Reserve(info.DecodedBytes(), operand);
  const Derived derived = alsoNeeds(info);
  budget.Reserve(derived.bytes, derived.what);
  xelfw::Image image = xelhost::ReadImageFile(operand, {info.DecodedBytes(), info.frames});
  if (const auto warning = ApplyInputBits({&image, 1}, inputBits, operand))
    std::fprintf(stderr, "%s\n", warning->c_str());
  return image;
}

}  // namespace xelhost
