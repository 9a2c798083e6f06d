// Where xelimg finds the plug-in library.
#pragma once

#include <xelhost/arguments.h>
#include "host_kit.h"

#include <filesystem>

namespace xelimg {

inline constexpr OptionSpec kPluginOption{"plugin", true};

// --plugin PATH when given; otherwise libXelPseudoColor.so beside the program, in the plug-in
// folder of an installation (../lib/XelPseudoColor from bin/) or in ../lib (a build tree).
std::filesystem::path PluginPath(const Arguments& args);

}  // namespace xelimg
