// Windows-1252 and UTF-8.
#include <xelfw/TextEncoding.h>

#include <cstdint>

namespace xelfw {

namespace {

// 0x80..0x9F are the only bytes where Windows-1252 differs from Latin-1; 0 marks its unused codes.
constexpr char16_t kHighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                        0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The code point at text[i], advancing i; nothing for a byte sequence that is not UTF-8 (overlong
// forms and surrogates included).
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<std::uint8_t>(text[i++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t code = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    code = lead & 0x07;
  } else {
    return std::nullopt;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size()) return std::nullopt;
    const auto next = static_cast<std::uint8_t>(text[i++]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    code = (code << 6) | (next & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
  return code;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<std::uint8_t>(c);
    char32_t code = byte;
    if (byte >= 0x80 && byte < 0xA0) code = kHighControls[byte - 0x80] != 0 ? kHighControls[byte - 0x80] : U'\uFFFD';
    AppendUtf8(out, code);
  }
  return out;
}

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    if (!NextCodePoint(text, i)) return false;
  }
  return true;
}

std::optional<std::string> Utf8ToCp1252(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::optional<char32_t> code = NextCodePoint(text, i);
    if (!code) return std::nullopt;
    if (*code < 0x80 || (*code >= 0xA0 && *code < 0x100)) {
      out += static_cast<char>(*code);
      continue;
    }
    std::size_t k = 0;
    while (k < 32 && kHighControls[k] != *code) ++k;
    if (k == 32) return std::nullopt;
    out += static_cast<char>(0x80 + k);
  }
  return out;
}

std::optional<std::string> TextToCp1252(std::string_view text) {
  return IsUtf8(text) ? Utf8ToCp1252(text) : std::optional<std::string>(text);
}

std::string DecodeTextFile(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  std::string text = IsUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
  std::string lf;
  lf.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lf += text[i];
  }
  return lf;
}

}  // namespace xelfw
