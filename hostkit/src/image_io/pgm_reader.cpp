// Binary PGM (P5) decoding: 8-bit samples for maxval below 256, else 16-bit big-endian.
#include "image_io/frame_decoder.h"
#include "image_io/pixel_rows.h"

#include <xelhost/image_io.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace xelhost {

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

// Headers longer than this are not PGM headers but something else with a P5 in front.
constexpr std::size_t kMaxHeaderBytes = 64 * 1024;

std::vector<BYTE> ReadHead(image_io::ByteSource& source) {
  std::vector<BYTE> head(static_cast<std::size_t>(std::min<std::uint64_t>(source.Size(), kMaxHeaderBytes)));
  source.Seek(0);
  head.resize(source.Read(head.data(), head.size()));
  return head;
}

class PgmDecoder final : public image_io::FrameDecoder {
 public:
  PgmDecoder(image_io::ByteSource& source, image_io::FrameAllowance& allowance)
      : m_Source(source), m_Allowance(allowance), m_Head(ReadHead(source)) {
    PgmHeaderParser header(m_Head, source.Name());
    if (m_Head.size() < 2 || m_Head[0] != 'P' || m_Head[1] != '5') header.Fail("not a binary PGM (P5)");
    const unsigned long width = header.Number("width");
    const unsigned long height = header.Number("height");
    m_Maxval = header.Number("maxval");
    if (m_Maxval == 0 || m_Maxval > 65535) header.Fail("maxval must be 1 to 65535");
    m_Start = header.SampleStart();
    m_UnitBits = m_Maxval < 256 ? 8 : 16;
    m_Info.width = static_cast<UINT>(width);
    m_Info.height = static_cast<UINT>(height);
    m_Info.frames = 1;
    m_Info.layout = image_io::DecodedLayout(1, m_UnitBits, static_cast<unsigned>(std::bit_width(m_Maxval)));
    m_BitsDeclared = true;  // maxval says it
    m_FrameBytes = allowance.FrameBytes(width, height, m_Info.layout);
    if (source.Size() - m_Start < m_FrameBytes) header.Fail("file is truncated");
  }

  bool Skip() override {
    if (m_Done) return false;
    m_Done = true;
    m_Allowance.Admit(m_FrameBytes, m_FrameBytes, m_Source.Size() - m_Start, 1);
    return true;
  }

  bool Next(FrameBuffer& frame) override {
    if (!Skip()) return false;
    ChargeFrame(m_Source.Name());
    frame.resize(m_FrameBytes);
    m_Source.Seek(m_Start);
    if (m_Source.Read(frame.data(), m_FrameBytes) != m_FrameBytes) Fail("file is truncated");
    // Samples are checked and turned into host order in place.
    for (std::size_t i = 0; i < m_FrameBytes; i += m_UnitBits / 8) {
      const unsigned value = m_UnitBits == 8 ? frame[i] : (unsigned{frame[i]} << 8) | frame[i + 1];
      // Samples above maxval have no meaning in the format; taking them would break the significant-bit
      // promise the image makes to its users.
      if (value > m_Maxval) Fail("sample " + std::to_string(value) + " above maxval " + std::to_string(m_Maxval));
      if (m_UnitBits == 16) {
        const auto unit = static_cast<std::uint16_t>(value);
        std::memcpy(frame.data() + i, &unit, sizeof unit);
      }
    }
    return true;
  }

 private:
  [[noreturn]] void Fail(const std::string& why) const { throw ImageIoError(m_Source.Name() + ": bad PGM: " + why); }

  image_io::ByteSource& m_Source;
  image_io::FrameAllowance& m_Allowance;
  std::vector<BYTE> m_Head;
  unsigned long m_Maxval = 0;
  std::size_t m_Start = 0;
  unsigned m_UnitBits = 8;
  std::size_t m_FrameBytes = 0;
  bool m_Done = false;
};

}  // namespace

namespace image_io {

std::unique_ptr<FrameDecoder> OpenPgmDecoder(ByteSource& source, FrameAllowance& allowance) {
  return std::make_unique<PgmDecoder>(source, allowance);
}

}  // namespace image_io

Image DecodePgm(std::span<const BYTE> bytes, const std::string& sourceName) {
  return image_io::DecodeBytes(bytes, sourceName, image_io::OpenPgmDecoder);
}

}  // namespace xelhost
