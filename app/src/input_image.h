// Inputs as the commands name them: "demo:" for the built-in scene, else an image file; and the
// significant bits of their grey values.
#pragma once

#include "arguments.h"

#include <xelfw/Image.h>

#include <optional>
#include <string>
#include <string_view>

namespace xelimg {

inline constexpr std::string_view kDemoInput = "demo:";
inline constexpr OptionSpec kInputBitsOption{"input-bits", true};

// --input-bits N, 1..16; nothing when not given.
std::optional<UINT> ParseInputBits(const Arguments& args);

// A greyscale image says how many of its bits count: the given bits, or what the file declared, or
// else the whole unit, with one warning on stderr when the data would fit in two or more bits fewer
// (a 14-bit camera's counts in a 16-bit file read as 16-bit give temperatures far too low). Throws
// CommandError when a value needs more than the given bits.
void ApplyInputBits(xelfw::Image& image, std::optional<UINT> inputBits, const std::string& name);

// The operand's image, its significant bits applied.
xelfw::Image ReadInputImage(const std::string& operand, std::optional<UINT> inputBits);

}  // namespace xelimg
