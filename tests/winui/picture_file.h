// Pictures the tests keep as files: winui only encodes them, writing is the host's business.
#pragma once

#include <winui/surface.h>

#include <fstream>
#include <string>
#include <vector>

namespace winui_test {

inline bool SavePicture(const winui::Surface& picture, const std::string& path, std::string* error) {
  std::vector<std::uint8_t> png;
  if (!winui::EncodePng(picture, &png, error)) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  if (!out.flush()) *error = "cannot write " + path;
  return static_cast<bool>(out);
}

}  // namespace winui_test
