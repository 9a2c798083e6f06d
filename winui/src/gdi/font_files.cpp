#include "font_files.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <mutex>

// GCC names an address-sanitized build with a macro, clang only through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define WINUI_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WINUI_LEAK_CHECKED 1
#endif
#endif

#if defined(WINUI_LEAK_CHECKED)
#include <sanitizer/lsan_interface.h>
#endif

namespace winui::gdi {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

constexpr std::array kMonoFaces = {"courier", "courier new", "fixedsys", "terminal", "lucida console", "consolas"};
constexpr std::array kSerifFaces = {"times new roman", "times", "ms serif", "roman", "georgia"};

bool Contains(const auto& faces, const std::string& face) {
  return std::find(faces.begin(), faces.end(), face) != faces.end();
}

// fontconfig keeps (and, parsing some configuration files, loses) memory for the life of the
// process; that is not a leak of ours for the leak checker to report.
class LeakCheckPause {
 public:
#if defined(WINUI_LEAK_CHECKED)
  LeakCheckPause() { __lsan_disable(); }
  ~LeakCheckPause() { __lsan_enable(); }
#else
  LeakCheckPause() = default;
#endif
  LeakCheckPause(const LeakCheckPause&) = delete;
  LeakCheckPause& operator=(const LeakCheckPause&) = delete;
};

std::string FromFontconfig(const std::string& family, bool bold, bool italic) {
  static std::mutex mutex;  // fontconfig's configuration is shared and not thread-safe to build
  std::lock_guard lock(mutex);
  [[maybe_unused]] LeakCheckPause pause;
  if (!FcInit()) return {};
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::string file;
  FcChar8* matchedFamily = nullptr;
  FcChar8* matchedFile = nullptr;
  // fontconfig always answers with something; only the family asked for keeps the metrics right.
  if (match && FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch &&
      Lower(reinterpret_cast<const char*>(matchedFamily)) == Lower(family) &&
      FcPatternGetString(match, FC_FILE, 0, &matchedFile) == FcResultMatch) {
    file = reinterpret_cast<const char*>(matchedFile);
  }
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return file;
}

std::string FromDebianFolders(const std::string& family, bool bold, bool italic) {
  std::string name = family;
  name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
  const char* style = bold ? (italic ? "BoldItalic" : "Bold") : (italic ? "Italic" : "Regular");
  for (const char* folder : {"/usr/share/fonts/truetype/liberation/", "/usr/share/fonts/truetype/liberation2/"}) {
    const std::string path = std::string(folder) + name + "-" + style + ".ttf";
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) return path;
  }
  return {};
}

}  // namespace

std::string StandInFamily(const LOGFONT& font) {
  const std::string face = Lower(std::string(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE)));
  if (Contains(kMonoFaces, face)) return "Liberation Mono";
  if (Contains(kSerifFaces, face)) return "Liberation Serif";
  if (face.empty() || face == "ms sans serif" || face == "microsoft sans serif" || face == "arial" ||
      face == "tahoma" || face == "ms shell dlg" || face == "ms shell dlg 2" || face == "system" ||
      face == "segoe ui" || face == "helvetica" || face == "verdana") {
    return (font.lfPitchAndFamily & 0x03) == FIXED_PITCH ? "Liberation Mono" : "Liberation Sans";
  }
  if ((font.lfPitchAndFamily & 0x03) == FIXED_PITCH || (font.lfPitchAndFamily & 0xF0) == FF_MODERN) {
    return "Liberation Mono";
  }
  if ((font.lfPitchAndFamily & 0xF0) == FF_ROMAN) return "Liberation Serif";
  return "Liberation Sans";
}

std::string FindFontFile(const std::string& family, bool bold, bool italic, std::string* error) {
  std::string file = FromFontconfig(family, bold, italic);
  if (file.empty()) file = FromDebianFolders(family, bold, italic);
  if (file.empty() && error) {
    *error = "no font file for " + family + (bold ? " Bold" : "") + (italic ? " Italic" : "") +
             " (install the Liberation fonts, Debian package fonts-liberation)";
  }
  return file;
}

}  // namespace winui::gdi
