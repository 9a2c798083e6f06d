// Escaping and cutting user text for messages.
#include <xelhost/message_text.h>

#include <cstdio>

namespace xelhost {

namespace {

// The length of the well-formed UTF-8 character at the start of text, 0 when it is not one.
std::size_t Utf8Length(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  const std::size_t length = lead < 0x80                    ? 1
                             : lead >= 0xC2 && lead <= 0xDF ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  // Overlong forms, surrogates and code points beyond U+10FFFF.
  if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) >= 0xA0) || (lead == 0xF0 && byte(1) < 0x90) ||
      (lead == 0xF4 && byte(1) >= 0x90)) {
    return 0;
  }
  return length;
}

std::string Escape(unsigned char byte) {
  switch (byte) {
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    default: {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", byte);
      return hex;
    }
  }
}

}  // namespace

std::string PrintableText(std::string_view text, std::size_t maxBytes) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (i >= maxBytes) return out + "…";
    const std::string_view rest = text.substr(i);
    const std::size_t length = Utf8Length(rest);
    const auto lead = static_cast<unsigned char>(rest[0]);
    // C1 controls (U+0080..U+009F) are CSI and friends to many terminals.
    const bool c1 = length == 2 && lead == 0xC2 && static_cast<unsigned char>(rest[1]) < 0xA0;
    if (length == 0 || lead < 0x20 || lead == 0x7F) {
      out += Escape(lead);
      ++i;
    } else if (c1) {
      out += Escape(lead) + Escape(static_cast<unsigned char>(rest[1]));
      i += 2;
    } else {
      out += rest.substr(0, length);
      i += length;
    }
  }
  return out;
}

std::string QuoteForMessage(std::string_view text) { return "'" + PrintableText(text) + "'"; }

}  // namespace xelhost
