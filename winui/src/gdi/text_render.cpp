#include "text_render.h"

#include "raster.h"

#include <algorithm>

namespace winui::gdi {
namespace {

// Narrows the DC's clip for the lifetime of the object.
class ClipScope {
 public:
  ClipScope(DeviceContext& dc, const RECT* clip) : dc_(dc), saved_(dc.state.clip) {
    if (clip) dc.state.clip = Intersection(dc.state.clip, *clip);
  }
  ~ClipScope() { dc_.state.clip = saved_; }
  ClipScope(const ClipScope&) = delete;
  ClipScope& operator=(const ClipScope&) = delete;

 private:
  DeviceContext& dc_;
  RECT saved_;
};

int UnderlineRow(const FontInstance& font) {
  const TEXTMETRIC& tm = font.Metrics();
  return std::min(tm.tmAscent + 1, tm.tmHeight - 1);
}

}  // namespace

int TextWidth(const FontInstance& font, const char* text, int length) {
  int width = 0;
  for (int i = 0; i < length; ++i) width += font.Advance(static_cast<unsigned char>(text[i]));
  return width;
}

void RenderText(DeviceContext& dc, const FontInstance& font, int x, int y, const char* text, int length,
                const RECT* clip, const INT* dx) {
  ClipScope scope(dc, clip);
  const std::uint32_t ink = PixelFromColorRef(dc.state.textColor);
  const int baseline = y + font.Metrics().tmAscent;
  int penX = x;
  for (int i = 0; i < length; ++i) {
    const Glyph& glyph = font.GlyphFor(static_cast<unsigned char>(text[i]));
    const int left = penX + glyph.left, top = baseline - glyph.top;
    for (int row = 0; row < glyph.rows; ++row) {
      for (int col = 0; col < glyph.width; ++col) {
        BlendDevice(dc, left + col, top + row, ink, glyph.coverage[static_cast<std::size_t>(row) * glyph.width + col]);
      }
    }
    penX += dx ? dx[i] : glyph.advance;
  }
  if (font.Underlined())
    FillDevice(dc, RECT{x, y + UnderlineRow(font), penX, y + UnderlineRow(font) + 1}, dc.state.textColor);
  if (font.StruckOut()) {
    const int row = baseline - font.Metrics().tmAscent / 3;
    FillDevice(dc, RECT{x, row, penX, row + 1}, dc.state.textColor);
  }
}

void RenderUnderline(DeviceContext& dc, const FontInstance& font, int x, int y, int width, const RECT* clip) {
  ClipScope scope(dc, clip);
  const int row = y + UnderlineRow(font);
  FillDevice(dc, RECT{x, row, x + width, row + 1}, dc.state.textColor);
}

}  // namespace winui::gdi
