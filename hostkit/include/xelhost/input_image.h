// Inputs as the commands name them: "demo:" for the built-in scene, else an image file; and the
// significant bits of their grey values.
#pragma once

#include <xelhost/arguments.h>
#include <xelhost/framework_types.h>
#include <xelhost/memory_budget.h>

#include <xelfw/Image.h>
#include <xelhost/image_io.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace xelhost {

inline constexpr std::string_view kDemoInput = "demo:";
inline constexpr OptionSpec kInputBitsOption{"input-bits", true};

// --input-bits N, 1..16; nothing when not given.
std::optional<UINT> ParseInputBits(const Arguments& args);

// The frames of one file say how many of their bits count: the given bits, or what the file
// declared, or else the whole unit. In that last case the result is a warning for stderr when the
// data would fit in two or more bits fewer and are not all zero (a 14-bit camera's counts in a
// 16-bit file read as 16-bit give temperatures far too low). Throws CommandError when a value needs
// more than the given bits. Colour frames are left alone.
std::optional<std::string> ApplyInputBits(std::span<xelfw::Image> frames, std::optional<UINT> inputBits,
                                          const std::string& name);

// What a command makes from an input, beyond the input itself, reserved in its memory budget under
// the name a refusal gives it.
struct Derived {
  std::size_t bytes;
  std::string what;
};
using InputCost = std::function<Derived(const xelhost::ImageFileInfo&)>;

// The operand's image, read once the budget holds it and what the command makes from it, with its
// significant bits applied (and their warning printed).
xelfw::Image ReadInputImage(const std::string& operand, std::optional<UINT> inputBits, MemoryBudget& budget,
                            const InputCost& alsoNeeds);

}  // namespace xelhost
