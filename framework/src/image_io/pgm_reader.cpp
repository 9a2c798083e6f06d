// Binary PGM (P5) decoding: 8-bit samples for maxval below 256, else 16-bit big-endian.
#include "image_io/pixel_rows.h"

#include <xelfw/image_io.h>

#include <bit>
#include <cctype>
#include <cstring>
#include <optional>
#include <string>

namespace xelfw {

namespace {

class PgmHeaderParser {
 public:
  PgmHeaderParser(std::span<const BYTE> bytes, const std::string& sourceName) : m_Bytes(bytes), m_Name(sourceName) {}

  // A header number: blanks and '#' comments may come before it.
  unsigned long Number(const char* what) {
    SkipBlanksAndComments();
    unsigned long value = 0;
    std::size_t digits = 0;
    while (m_Pos < m_Bytes.size() && std::isdigit(m_Bytes[m_Pos]) != 0) {
      value = value * 10 + (m_Bytes[m_Pos++] - '0');
      if (value > 0xFFFFFFFFul) Fail(std::string(what) + " is too large");
      ++digits;
    }
    if (digits == 0) Fail(std::string("missing ") + what);
    return value;
  }

  // Exactly one blank separates the header from the samples.
  std::size_t SampleStart() {
    if (m_Pos >= m_Bytes.size() || std::isspace(m_Bytes[m_Pos]) == 0) Fail("no blank after the header");
    return m_Pos + 1;
  }

  [[noreturn]] void Fail(const std::string& why) const { throw ImageIoError(m_Name + ": bad PGM: " + why); }

 private:
  void SkipBlanksAndComments() {
    while (m_Pos < m_Bytes.size()) {
      if (std::isspace(m_Bytes[m_Pos]) != 0) {
        ++m_Pos;
      } else if (m_Bytes[m_Pos] == '#') {
        while (m_Pos < m_Bytes.size() && m_Bytes[m_Pos] != '\n' && m_Bytes[m_Pos] != '\r') ++m_Pos;
      } else {
        break;
      }
    }
  }

  std::span<const BYTE> m_Bytes;
  const std::string& m_Name;
  std::size_t m_Pos = 2;
};

}  // namespace

Image DecodePgm(std::span<const BYTE> bytes, const std::string& sourceName) {
  PgmHeaderParser header(bytes, sourceName);
  if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '5') header.Fail("not a binary PGM (P5)");
  const unsigned long width = header.Number("width");
  const unsigned long height = header.Number("height");
  const unsigned long maxval = header.Number("maxval");
  if (maxval == 0 || maxval > 65535) header.Fail("maxval must be 1 to 65535");
  const std::size_t start = header.SampleStart();

  const unsigned unitBits = maxval < 256 ? 8 : 16;
  const auto significantBits = static_cast<unsigned>(std::bit_width(maxval));
  const PixelLayout layout = image_io::DecodedLayout(1, unitBits, significantBits);
  image_io::CheckDecodedSize(width, height, 1, layout, sourceName);
  const std::size_t sampleBytes = std::size_t{width} * height * (unitBits / 8);
  if (bytes.size() - start < sampleBytes) header.Fail("file is truncated");

  Image image(static_cast<UINT>(width), static_cast<UINT>(height), layout);
  image.SetSignificantBitsDeclared(true);  // maxval says it
  const BYTE* in = bytes.data() + start;
  const std::size_t count = std::size_t{width} * height;
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned value = unitBits == 8 ? in[i] : (unsigned{in[2 * i]} << 8) | in[2 * i + 1];
    // Samples above maxval have no meaning in the format; taking them would break the significant-bit
    // promise the image makes to its users.
    if (value > maxval) header.Fail("sample " + std::to_string(value) + " above maxval " + std::to_string(maxval));
    if (unitBits == 8) {
      image.Data()[i] = static_cast<BYTE>(value);
    } else {
      const auto unit = static_cast<std::uint16_t>(value);
      std::memcpy(image.Data() + 2 * i, &unit, sizeof unit);
    }
  }
  return image;
}

}  // namespace xelfw
