// The stages of converting one frame file, each alone: what the codecs cost without our pipeline.
#pragma once

#include <xelfw/Image.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace codec_floor {

using Bytes = std::vector<BYTE>;

Bytes ReadFile(const std::filesystem::path& file);
void WriteFile(const std::filesystem::path& file, std::span<const BYTE> bytes);

// The host kit's PNG reader, as xelimg decodes.
xelfw::Image DecodeOurs(const Bytes& file, const std::string& name);
// libpng streaming through zlib, into host-order 16-bit units.
Bytes DecodeLibpng(const Bytes& file);
// Only the inflation of the image data by libdeflate, rows left filtered: what no decoder can beat.
Bytes InflateOnly(const Bytes& file);

struct Window {
  std::uint16_t low;
  std::uint16_t high;
};
// The 2 % and 98 % points of a 16-bit frame's histogram.
Window AutoWindow(const xelfw::Image& grey);

// One full 16-bit table a frame, black-blue-green-yellow-red-white over the window, as the user's
// script builds it; and the frame through it.
using Table = std::vector<std::array<BYTE, 3>>;
Table BuildTable(Window window);
xelfw::Image ApplyTable(const xelfw::Image& grey, const Table& table);

// The host kit's PNG writer at its default level.
Bytes EncodeOurs(const xelfw::Image& rgb);

}  // namespace codec_floor
