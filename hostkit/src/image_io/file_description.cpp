// Image files described from their headers, PNG text chunks and TIFF tags.
#include "image_io/big_endian.h"
#include "image_io/png_text.h"
#include "image_io/tiff_support.h"

#include <xelhost/file_description.h>
#include <xelhost/image_io.h>
#include <xelhost/shared_pictures.h>

#include <array>
#include <cstring>
#include <fstream>
#include <string_view>
#include <utility>

namespace xelhost {

namespace {

// IHDR, the first chunk, gives the shape; the text chunks follow anywhere before IEND.
ImageFileDescription DescribePng(std::istream& in, const std::string& name) {
  std::array<unsigned char, 8 + 13 + 4> header{};
  if (!in.read(reinterpret_cast<char*>(header.data()), header.size()) || std::memcmp(&header[4], "IHDR", 4) != 0) {
    throw ImageIoError(name + ": a PNG without its header");
  }
  ImageFileDescription description{
      "PNG", image_io::BigEndian32(&header[8]), image_io::BigEndian32(&header[12]), header[16], 1, false, 1, {}};
  // Colour types: 0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGB and alpha.
  static constexpr std::array<UINT, 7> kSamples = {1, 0, 3, 1, 2, 0, 4};
  description.samplesPerPixel = header[17] < kSamples.size() ? kSamples[header[17]] : 0;
  for (auto& [keyword, text] : image_io::ReadPngText(in)) {
    if (keyword == kProvenanceKeyword) {
      description.record = Provenance::Parse(text);
      break;
    }
    description.record.Set(keyword, std::move(text));
  }
  return description;
}

// Markers up to the scan: a start-of-frame gives the shape, comments the record.
ImageFileDescription DescribeJpeg(std::istream& in, const std::string& name) {
  ImageFileDescription description{"JPEG", 0, 0, 0, 0, false, 1, {}};
  std::string comments;
  in.seekg(2);  // after SOI
  for (;;) {
    std::array<unsigned char, 4> head{};
    if (!in.read(reinterpret_cast<char*>(head.data()), head.size()) || head[0] != 0xFF)
      throw ImageIoError(name + ": a JPEG whose markers end before its image");
    const unsigned marker = head[1];
    const std::size_t length = std::size_t{head[2]} << 8 | head[3];
    if (length < 2) throw ImageIoError(name + ": a JPEG segment shorter than its length field");
    std::string payload(length - 2, '\0');
    if (!in.read(payload.data(), static_cast<std::streamsize>(payload.size())))
      throw ImageIoError(name + ": a JPEG cut off inside a segment");
    const auto byte = [&](std::size_t i) { return static_cast<UINT>(static_cast<unsigned char>(payload[i])); };
    const bool startOfFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (startOfFrame && payload.size() >= 6) {
      description.bitsPerSample = byte(0);
      description.height = byte(1) << 8 | byte(2);
      description.width = byte(3) << 8 | byte(4);
      description.samplesPerPixel = byte(5);
    }
    if (marker == 0xFE) comments += payload;
    if (marker == 0xDA) break;  // start of scan: no more headers
  }
  description.record = Provenance::Parse(comments);
  return description;
}

std::uint32_t LittleEndian(const std::string& bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count; i-- > 0;)
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

std::string UnescapeXml(std::string_view text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      for (const auto& [entity, character] : {std::pair{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}}) {
        if (text.substr(i).starts_with(entity)) {
          plain += character;
          i += std::string_view(entity).size() - 1;
          break;
        }
      }
      continue;
    }
    plain += text[i];
  }
  return plain;
}

// RIFF chunks: the image chunk or the extended header gives the size, an XMP packet written by
// WriteWebpFile the record.
ImageFileDescription DescribeWebp(std::istream& in, const std::string& name) {
  ImageFileDescription description{"WebP", 0, 0, 8, 3, false, 1, {}};
  in.seekg(12);
  for (;;) {
    std::string head(8, '\0');
    if (!in.read(head.data(), 8)) break;
    const std::uint32_t size = LittleEndian(head, 4, 4);
    std::string payload(size, '\0');
    if (!in.read(payload.data(), static_cast<std::streamsize>(size)))
      throw ImageIoError(name + ": a WebP cut off inside a chunk");
    if (size % 2 != 0) in.ignore(1);
    const std::string_view type(head.data(), 4);
    if (type == "VP8X" && size >= 10) {
      description.width = LittleEndian(payload, 4, 3) + 1;
      description.height = LittleEndian(payload, 7, 3) + 1;
    } else if (type == "VP8L" && size >= 5) {
      const std::uint32_t bits = LittleEndian(payload, 1, 4);
      description.width = (bits & 0x3FFF) + 1;
      description.height = (bits >> 14 & 0x3FFF) + 1;
    } else if (type == "VP8 " && size >= 10) {
      description.width = LittleEndian(payload, 6, 2) & 0x3FFF;
      description.height = LittleEndian(payload, 8, 2) & 0x3FFF;
    } else if (type == "XMP ") {
      const std::size_t start = payload.find(kXmpStart);
      const std::size_t end = payload.find(kXmpEnd);
      if (start != std::string::npos && end != std::string::npos && end > start)
        description.record = Provenance::Parse(
            UnescapeXml(std::string_view(payload).substr(start + kXmpStart.size(), end - start - kXmpStart.size())));
    }
  }
  return description;
}

ImageFileDescription DescribeTiff(const std::filesystem::path& file) {
  image_io::TiffMessages messages;
  image_io::TiffHandle tiff(TIFFOpenExt(file.c_str(), "r", messages.Options()));
  if (tiff.Get() == nullptr) throw ImageIoError(file.string() + ": " + messages.Error("not a readable TIFF"));
  TIFF* t = tiff.Get();
  const auto text = [&](ttag_t id) {
    const char* value = nullptr;
    return TIFFGetField(t, id, &value) == 1 && value != nullptr ? std::string(value) : std::string();
  };
  const auto number = [&](ttag_t id) {
    std::uint16_t value = 0;
    TIFFGetFieldDefaulted(t, id, &value);
    return value;
  };
  ImageFileDescription description{TIFFIsBigTIFF(t) ? "BigTIFF" : "TIFF",
                                   0,
                                   0,
                                   number(TIFFTAG_BITSPERSAMPLE),
                                   number(TIFFTAG_SAMPLESPERPIXEL),
                                   number(TIFFTAG_SAMPLEFORMAT) == SAMPLEFORMAT_IEEEFP,
                                   TIFFNumberOfDirectories(t),
                                   Provenance::Parse(text(TIFFTAG_IMAGEDESCRIPTION))};
  std::uint32_t side = 0;
  if (TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &side) == 1) description.width = side;
  if (TIFFGetField(t, TIFFTAG_IMAGELENGTH, &side) == 1) description.height = side;
  Provenance& record = description.record;
  if (record.Empty()) {
    if (std::string software = text(TIFFTAG_SOFTWARE); !software.empty()) record.Set("Software", std::move(software));
    if (std::string page = text(TIFFTAG_PAGENAME); !page.empty()) record.Set("PageName", std::move(page));
  }
  if (std::string written = text(TIFFTAG_DATETIME); !written.empty()) record.Set("DateTime", std::move(written));
  return description;
}

}  // namespace

ImageFileDescription DescribeImageFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::array<char, 8> magic{};
  if (!in || !in.read(magic.data(), magic.size())) throw ImageIoError(file.string() + ": cannot be read");
  static constexpr char kPngSignature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1A', '\n'};
  if (std::memcmp(magic.data(), kPngSignature, sizeof kPngSignature) == 0) return DescribePng(in, file.string());
  if (std::memcmp(magic.data(), "II", 2) == 0 || std::memcmp(magic.data(), "MM", 2) == 0) return DescribeTiff(file);
  if (static_cast<unsigned char>(magic[0]) == 0xFF && static_cast<unsigned char>(magic[1]) == 0xD8)
    return DescribeJpeg(in, file.string());
  if (std::memcmp(magic.data(), "RIFF", 4) == 0) return DescribeWebp(in, file.string());
  const ImageFileInfo info = InspectImageFile(file);  // a PGM, or the reader's word on what it is not
  return {"PGM", info.width, info.height, info.layout.imgBPC, 1, false, info.frames, {}};
}

}  // namespace xelhost
