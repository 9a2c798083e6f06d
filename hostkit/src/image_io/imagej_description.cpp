// ImageJ's description head for the float temperature map.
#include "image_io/imagej_description.h"

#include <cstdint>
#include <cstdio>

namespace xelhost::image_io {

namespace {

// The code point starting at text[at], advancing at; a byte that starts no valid sequence reads as
// U+FFFD.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(at);
  const std::size_t length = lead < 0x80           ? 1
                             : (lead >> 5) == 0x6  ? 2
                             : (lead >> 4) == 0xE  ? 3
                             : (lead >> 3) == 0x1E ? 4
                                                   : 0;
  if (length == 0 || at + length > text.size()) {
    ++at;
    return U'\uFFFD';
  }
  char32_t code = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) {
      ++at;
      return U'\uFFFD';
    }
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  at += length;
  return code;
}

void AppendEscape(std::string& out, char32_t unit) {
  char text[16];
  std::snprintf(text, sizeof text, "\\u%04X", static_cast<unsigned>(unit));
  out += text;
}

}  // namespace

std::string JavaPropertiesValue(std::string_view utf8) {
  std::string out;
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t code = NextCodePoint(utf8, at);
    if (code == U'\\') {
      out += "\\\\";
    } else if (code >= 0x20 && code < 0x7F) {
      out += static_cast<char>(code);
    } else if (code < 0x10000) {
      AppendEscape(out, code);
    } else {
      AppendEscape(out, 0xD800 + ((code - 0x10000) >> 10));
      AppendEscape(out, 0xDC00 + ((code - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string ImageJDescriptionHead(const Provenance& record) {
  std::string head = "ImageJ=1.11a\n";
  if (const std::string* unit = record.Find("Unit")) head += "vunit=" + JavaPropertiesValue(*unit) + "\n";
  return head;
}

}  // namespace xelhost::image_io
