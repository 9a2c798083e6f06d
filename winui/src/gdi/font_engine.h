// A font opened at one pixel size: Windows-style metrics and rendered glyphs from FreeType.
#pragma once

#include <winui/wingdi.h>

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace winui::gdi {

struct Glyph {
  int advance = 0;  // pixels the pen moves
  int left = 0;     // bitmap offset from the pen position
  int top = 0;      // rows of the bitmap above the baseline
  int width = 0;
  int rows = 0;
  std::vector<std::uint8_t> coverage;  // width * rows, 0..255
};

class FontInstance {
 public:
  struct Face;  // the FreeType face, kept private to font_engine.cpp
  FontInstance(std::shared_ptr<Face> face, const LOGFONT& request, bool monochrome);

  const TEXTMETRIC& Metrics() const { return metrics_; }
  const std::string& FaceName() const { return faceName_; }
  bool Underlined() const { return underline_; }
  bool StruckOut() const { return strikeOut_; }
  // `c` is a byte of Windows-1252 text.
  const Glyph& GlyphFor(unsigned char c) const;
  // Pixels the pen moves for `c`: measuring renders nothing.
  int Advance(unsigned char c) const;

 private:
  void ComputeMetrics(const LOGFONT& request);
  // Loads `c` into the face's glyph slot at this size, hinted as drawing hints it; the caller holds
  // the face's lock. False when the font cannot give the glyph.
  bool LoadIntoSlot(unsigned char c) const;

  std::shared_ptr<Face> face_;
  bool monochrome_;
  bool underline_;
  bool strikeOut_;
  std::string faceName_;
  long sizeX26_ = 0;  // pixels per em in 26.6 fixed point
  long sizeY26_ = 0;
  TEXTMETRIC metrics_;
  mutable std::mutex mutex_;
  mutable std::array<std::unique_ptr<Glyph>, 256> glyphs_;
  mutable std::array<int, 256> advances_;  // of glyphs measured but not rendered; -1 until then
};

// Null, with a message on stderr, when no font file can stand in for the request.
std::shared_ptr<const FontInstance> OpenFont(const LOGFONT& request);

}  // namespace winui::gdi
