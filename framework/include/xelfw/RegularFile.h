// Opening files that readers may read whole: regular files only, checked before the first byte.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace xelfw {

// The descriptor of a regular file opened for reading, and its size; -1 and the reason ("a directory",
// "a device", or the system's message) otherwise. Opening does not wait for a FIFO's writer.
int OpenRegularFile(const std::filesystem::path& file, std::uint64_t& size, std::string& why);

}  // namespace xelfw
