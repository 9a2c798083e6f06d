#include <winui/surface.h>

namespace winui {

Surface::Surface(int width, int height, std::uint32_t fill) { Resize(width, height, fill); }

void Surface::Resize(int width, int height, std::uint32_t fill) {
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  pixels_.assign(static_cast<std::size_t>(width_) * height_, fill);
}

}  // namespace winui
