// WebP encoding through libwebp's one-call interface.
#include "image_io/image_writers.h"
#include "image_io/rgb8_rows.h"

#include <xelhost/AtomicFile.h>
#include <xelhost/image_io.h>
#include <xelhost/shared_pictures.h>

#include <webp/encode.h>

#include <memory>

namespace xelhost {

namespace {

struct WebpDeleter {
  void operator()(std::uint8_t* buffer) const { WebPFree(buffer); }
};

void PutLittleEndian(std::vector<BYTE>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<BYTE>(value >> (8 * i)));
}

std::string EscapeXml(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '&')
      escaped += "&amp;";
    else if (c == '<')
      escaped += "&lt;";
    else if (c == '>')
      escaped += "&gt;";
    else
      escaped += c;
  }
  return escaped;
}

// The encoder's simple file (RIFF, one image chunk) made extended: a VP8X header announcing XMP, the
// image chunk as it was, and an XMP packet whose description is the record's block, which exiftool
// shows as Description and `xelimg info` reads back.
std::vector<BYTE> WithRecord(const std::vector<BYTE>& simple, UINT width, UINT height, const Provenance& record) {
  constexpr std::size_t kRiffHeader = 12;
  constexpr std::uint32_t kXmpFlag = 0x04;
  const std::string xmp = std::string(kXmpStart) + EscapeXml(record.Block()) + std::string(kXmpEnd);
  std::vector<BYTE> file(simple.begin(), simple.begin() + kRiffHeader);
  file.insert(file.end(), {'V', 'P', '8', 'X'});
  PutLittleEndian(file, 10, 4);
  PutLittleEndian(file, kXmpFlag, 4);
  PutLittleEndian(file, width - 1, 3);
  PutLittleEndian(file, height - 1, 3);
  file.insert(file.end(), simple.begin() + kRiffHeader, simple.end());
  file.insert(file.end(), {'X', 'M', 'P', ' '});
  PutLittleEndian(file, static_cast<std::uint32_t>(xmp.size()), 4);
  file.insert(file.end(), xmp.begin(), xmp.end());
  if (xmp.size() % 2 != 0) file.push_back(0);
  const auto riffSize = static_cast<std::uint32_t>(file.size() - 8);
  for (int i = 0; i < 4; ++i) file[4 + static_cast<std::size_t>(i)] = static_cast<BYTE>(riffSize >> (8 * i));
  return file;
}

std::vector<BYTE> Encode(const Image& image, WebpQuality quality, const std::string& name, const Provenance* record) {
  if (quality && (*quality < 1 || *quality > 100)) {
    throw ImageIoError(name + ": the WebP quality must be 1 to 100, not " + std::to_string(*quality));
  }
  image_io::CheckShape({image.Width(), image.Height(), image.Frames(), image.Layout()}, name, ImageFileFormat::Webp);
  const std::vector<BYTE> rgb = image_io::PackedRgb8(image, 0, name, "a WebP");
  const int width = static_cast<int>(image.Width());
  const int height = static_cast<int>(image.Height());
  std::uint8_t* encoded = nullptr;
  // Lossless unless a quality is asked for: a shared picture should carry the colours a reader may
  // map back to temperatures, and on pseudo colour lossless WebP is still a good deal smaller than PNG.
  const std::size_t size =
      quality ? WebPEncodeRGB(rgb.data(), width, height, width * 3, static_cast<float>(*quality), &encoded)
              : WebPEncodeLosslessRGB(rgb.data(), width, height, width * 3, &encoded);
  const std::unique_ptr<std::uint8_t, WebpDeleter> owned(encoded);
  if (size == 0) throw ImageIoError(name + ": the WebP encoder failed");
  std::vector<BYTE> webp(encoded, encoded + size);
  return record ? WithRecord(webp, image.Width(), image.Height(), *record) : webp;
}

}  // namespace

std::vector<BYTE> EncodeWebp(const Image& image, WebpQuality quality, const Provenance* record) {
  return Encode(image, quality, "WebP data", record);
}

void WriteWebpFile(const Image& image, const std::filesystem::path& file, WebpQuality quality,
                   const Provenance* record) {
  image_io::CheckWritable({image.Width(), image.Height(), image.Frames(), image.Layout()}, file, ImageFileFormat::Webp);
  WriteFileAtomically(file, Encode(image, quality, file.string(), record));
}

}  // namespace xelhost
