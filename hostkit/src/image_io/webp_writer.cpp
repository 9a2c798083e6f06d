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

std::vector<BYTE> Encode(const Image& image, WebpQuality quality, const std::string& name) {
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
  return {encoded, encoded + size};
}

}  // namespace

std::vector<BYTE> EncodeWebp(const Image& image, WebpQuality quality) { return Encode(image, quality, "WebP data"); }

void WriteWebpFile(const Image& image, const std::filesystem::path& file, WebpQuality quality) {
  image_io::CheckWritable({image.Width(), image.Height(), image.Frames(), image.Layout()}, file, ImageFileFormat::Webp);
  WriteFileAtomically(file, Encode(image, quality, file.string()));
}

}  // namespace xelhost
