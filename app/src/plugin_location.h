// Where xelimg finds the plug-in library.
#pragma once

#include "arguments.h"

#include <filesystem>

namespace xelimg {

inline constexpr OptionSpec kPluginOption{"plugin", true};

// --plugin PATH when given; otherwise libXelPseudoColor.so beside the program, or in ../lib from it
// (the layout of a build tree and of an installation).
std::filesystem::path PluginPath(const Arguments& args);

}  // namespace xelimg
