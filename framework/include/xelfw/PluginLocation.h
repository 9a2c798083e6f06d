// Where a host finds the XelPseudoColor plug-in relative to its own files.
#pragma once

#include <XelImgProcess/XelTypes.h>

#include <filesystem>
#include <initializer_list>

namespace xelfw {

inline constexpr const char* kPseudoColorPluginFile = "libXelPseudoColor.so";

// directory/way/libXelPseudoColor.so for the first way where that file exists; the last way's path
// when none exists, so that the loader's error names the place a host looked last.
XEL_HOST_API std::filesystem::path FindPseudoColorPlugin(const std::filesystem::path& directory,
                                                         std::initializer_list<std::filesystem::path> ways);

}  // namespace xelfw
