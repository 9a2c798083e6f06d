#include "font_engine.h"

#include "font_files.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstring>
#include <deque>
#include <iostream>
#include <map>
#include <tuple>

namespace winui::gdi {

struct FontInstance::Face {
  FT_Face face = nullptr;
  std::mutex mutex;  // an FT_Face is not thread-safe, and all sizes of one file share it
  // Design units of the vertical metrics Windows uses for the cell.
  int unitsPerEm = 2048;
  int winAscent = 0;
  int winDescent = 0;
  int lineGap = 0;
  int hheaAscent = 0;
  int hheaDescent = 0;
  int averageWidth = 0;
  ~Face() {
    if (face) FT_Done_Face(face);
  }
};

namespace {

std::mutex& LibraryMutex() {
  static std::mutex mutex;
  return mutex;
}

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library made = nullptr;
    return FT_Init_FreeType(&made) == 0 ? made : nullptr;
  }();
  return library;
}

std::shared_ptr<FontInstance::Face> LoadFace(const std::string& file, std::string* error) {
  static std::map<std::string, std::weak_ptr<FontInstance::Face>> faces;
  std::lock_guard lock(LibraryMutex());
  if (auto cached = faces[file].lock()) return cached;
  auto face = std::make_shared<FontInstance::Face>();
  if (!Library() || FT_New_Face(Library(), file.c_str(), 0, &face->face) != 0) {
    *error = "cannot load the font file " + file;
    return nullptr;
  }
  face->unitsPerEm = face->face->units_per_EM;
  face->hheaAscent = face->face->ascender;
  face->hheaDescent = -face->face->descender;
  face->lineGap = face->face->height - face->hheaAscent - face->hheaDescent;
  face->winAscent = face->hheaAscent;
  face->winDescent = face->hheaDescent;
  if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face->face, FT_SFNT_OS2))) {
    face->winAscent = os2->usWinAscent;
    face->winDescent = os2->usWinDescent;
    face->averageWidth = os2->xAvgCharWidth;
  }
  faces[file] = face;
  return face;
}

// Windows text is bytes of code page 1252; 0x80-0x9F are its extra characters, the rest is Latin-1.
FT_ULong UnicodeOf(unsigned char c) {
  static constexpr std::array<std::uint16_t, 32> k80 = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  return c >= 0x80 && c < 0xA0 ? k80[c - 0x80] : c;
}

std::string FaceNameOf(const LOGFONT& request) {
  const std::string face(request.lfFaceName, strnlen(request.lfFaceName, LF_FACESIZE));
  return face.empty() ? std::string("Arial") : face;
}

}  // namespace

FontInstance::FontInstance(std::shared_ptr<Face> face, const LOGFONT& request, bool monochrome)
    : face_(std::move(face)),
      monochrome_(monochrome),
      underline_(request.lfUnderline != 0),
      strikeOut_(request.lfStrikeOut != 0),
      faceName_(FaceNameOf(request)) {
  advances_.fill(-1);
  ComputeMetrics(request);
}

void FontInstance::ComputeMetrics(const LOGFONT& request) {
  const Face& f = *face_;
  const double cellUnits = f.winAscent + f.winDescent;
  // Negative heights are the em size; positive ones the whole cell, as LOGFONT defines them.
  const LONG requested = request.lfHeight == 0 ? -12 : request.lfHeight;
  const double em = requested < 0 ? -requested : requested * f.unitsPerEm / cellUnits;
  const double scale = em / f.unitsPerEm;
  if (requested < 0) {
    metrics_.tmAscent = static_cast<LONG>(std::ceil(f.winAscent * scale - 1e-9));
    metrics_.tmDescent = static_cast<LONG>(std::ceil(f.winDescent * scale - 1e-9));
  } else {
    metrics_.tmAscent = static_cast<LONG>(std::lround(f.winAscent * scale));
    metrics_.tmDescent = requested - metrics_.tmAscent;
  }
  metrics_.tmHeight = metrics_.tmAscent + metrics_.tmDescent;
  metrics_.tmInternalLeading = metrics_.tmHeight - static_cast<LONG>(std::lround(em));
  const double external = f.lineGap - ((f.winAscent + f.winDescent) - (f.hheaAscent + f.hheaDescent));
  metrics_.tmExternalLeading = external > 0 ? static_cast<LONG>(std::lround(external * scale)) : 0;

  // lfWidth asks for an average character width; the horizontal size follows from the font's own.
  double xEm = em;
  if (request.lfWidth > 0 && f.averageWidth > 0) xEm = request.lfWidth * double(f.unitsPerEm) / f.averageWidth;
  sizeX26_ = std::lround(xEm * 64);
  sizeY26_ = std::lround(em * 64);
  const bool bold = request.lfWeight >= FW_SEMIBOLD;
  metrics_.tmWeight = bold ? FW_BOLD : FW_NORMAL;
  metrics_.tmItalic = request.lfItalic ? 1 : 0;
  metrics_.tmUnderlined = request.lfUnderline ? 1 : 0;
  metrics_.tmStruckOut = request.lfStrikeOut ? 1 : 0;
  const bool fixed = FT_IS_FIXED_WIDTH(f.face);
  // TMPF_FIXED_PITCH (1) is set for variable-pitch fonts: a Windows quirk callers rely on.
  metrics_.tmPitchAndFamily = static_cast<BYTE>((fixed ? 0 : 1) | 0x02 | 0x04 | (fixed ? FF_MODERN : FF_SWISS));

  // Dialog base units come from this: the average of the a-z and A-Z widths, rounded.
  int letters = 0;
  for (unsigned char c = 'a'; c <= 'z'; ++c) letters += Advance(c) + Advance(static_cast<unsigned char>(c - 'a' + 'A'));
  metrics_.tmAveCharWidth = (letters + 26) / 52;
  // As Windows reports it for TrueType: the widest advance in the whole font, not only in the code
  // page, scaled like the glyphs.
  metrics_.tmMaxCharWidth = static_cast<LONG>(std::lround(f.face->max_advance_width * xEm / f.unitsPerEm));
}

bool FontInstance::LoadIntoSlot(unsigned char c) const {
  FT_Face face = face_->face;
  // All sizes of a file share the face, so the size is set again for every glyph loaded.
  FT_Set_Char_Size(face, sizeX26_, sizeY26_, 72, 72);
  const FT_Int32 target = monochrome_ ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
  return FT_Load_Char(face, UnicodeOf(c), FT_LOAD_DEFAULT | target) == 0;
}

namespace {

int SlotAdvance(FT_Face face) { return static_cast<int>((face->glyph->advance.x + 32) >> 6); }

}  // namespace

int FontInstance::Advance(unsigned char c) const {
  std::lock_guard lock(mutex_);
  if (glyphs_[c]) return glyphs_[c]->advance;
  if (advances_[c] < 0) {
    std::lock_guard faceLock(face_->mutex);
    advances_[c] = LoadIntoSlot(c) ? SlotAdvance(face_->face) : 0;
  }
  return advances_[c];
}

const Glyph& FontInstance::GlyphFor(unsigned char c) const {
  std::lock_guard lock(mutex_);
  if (glyphs_[c]) return *glyphs_[c];
  auto glyph = std::make_unique<Glyph>();
  {
    std::lock_guard faceLock(face_->mutex);
    FT_Face face = face_->face;
    const bool loaded = LoadIntoSlot(c);
    if (loaded) glyph->advance = SlotAdvance(face);
    if (loaded && FT_Render_Glyph(face->glyph, monochrome_ ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) == 0) {
      const FT_GlyphSlot slot = face->glyph;
      const FT_Bitmap& bitmap = slot->bitmap;
      glyph->left = slot->bitmap_left;
      glyph->top = slot->bitmap_top;
      glyph->width = static_cast<int>(bitmap.width);
      glyph->rows = static_cast<int>(bitmap.rows);
      glyph->coverage.resize(static_cast<std::size_t>(glyph->width) * glyph->rows);
      for (int y = 0; y < glyph->rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < glyph->width; ++x) {
          const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
          glyph->coverage[static_cast<std::size_t>(y) * glyph->width + x] =
              mono ? ((row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0) : row[x];
        }
      }
    }
  }
  glyphs_[c] = std::move(glyph);
  return *glyphs_[c];
}

namespace {

std::shared_ptr<const FontInstance> MakeFont(const LOGFONT& request) {
  const std::string family = StandInFamily(request);
  const bool bold = request.lfWeight >= FW_SEMIBOLD;
  const bool italic = request.lfItalic != 0;
  std::string error;
  const std::string file = FindFontFile(family, bold, italic, &error);
  std::shared_ptr<FontInstance::Face> face = file.empty() ? nullptr : LoadFace(file, &error);
  if (!face) {
    std::cerr << "winui: cannot create the font \"" << FaceNameOf(request) << "\": " << error << '\n';
    return nullptr;
  }
  return std::make_shared<const FontInstance>(std::move(face), request, request.lfQuality == NONANTIALIASED_QUALITY);
}

using FontKey = std::tuple<LONG, LONG, LONG, LONG, LONG, BYTE, BYTE, BYTE, BYTE, BYTE, BYTE, BYTE, BYTE, std::string>;

FontKey KeyOf(const LOGFONT& r) {
  return {r.lfHeight,        r.lfWidth,     r.lfEscapement,     r.lfOrientation, r.lfWeight,
          r.lfItalic,        r.lfUnderline, r.lfStrikeOut,      r.lfCharSet,     r.lfOutPrecision,
          r.lfClipPrecision, r.lfQuality,   r.lfPitchAndFamily, FaceNameOf(r)};
}

}  // namespace

// Dialogs make their fonts anew every time they open, and a new instance would rasterise every glyph
// again, hinting program and all; equal requests share one instance instead. The cache is bounded,
// oldest out first, because a resizable dialog asks for another height on every resize.
std::shared_ptr<const FontInstance> OpenFont(const LOGFONT& request) {
  constexpr std::size_t kCachedFonts = 64;
  static std::mutex mutex;
  static std::map<FontKey, std::shared_ptr<const FontInstance>> cache;
  static std::deque<FontKey> age;
  FontKey key = KeyOf(request);
  std::lock_guard lock(mutex);
  if (auto found = cache.find(key); found != cache.end()) return found->second;
  std::shared_ptr<const FontInstance> font = MakeFont(request);
  if (!font) return nullptr;  // not kept: a font file installed later is found on the next try
  if (age.size() == kCachedFonts) {
    cache.erase(age.front());
    age.pop_front();
  }
  cache.emplace(key, font);
  age.push_back(std::move(key));
  return font;
}

}  // namespace winui::gdi
