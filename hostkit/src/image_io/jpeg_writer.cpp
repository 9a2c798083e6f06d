// JPEG encoding through libjpeg-turbo's TurboJPEG interface.
#include "image_io/image_writers.h"
#include "image_io/rgb8_rows.h"

#include <xelhost/AtomicFile.h>
#include <xelhost/image_io.h>
#include <xelhost/shared_pictures.h>

#include <turbojpeg.h>

#include <memory>

namespace xelhost {

namespace {

struct TurboJpegDeleter {
  void operator()(void* handle) const { tjDestroy(handle); }
  void operator()(unsigned char* buffer) const { tjFree(buffer); }
};

std::vector<BYTE> Encode(const Image& image, int quality, const std::string& name) {
  if (quality < 1 || quality > 100) {
    throw ImageIoError(name + ": the JPEG quality must be 1 to 100, not " + std::to_string(quality));
  }
  image_io::CheckShape({image.Width(), image.Height(), image.Frames(), image.Layout()}, name, ImageFileFormat::Jpeg);
  const std::vector<BYTE> rgb = image_io::PackedRgb8(image, 0, name, "a JPEG");
  const std::unique_ptr<void, TurboJpegDeleter> compressor(tjInitCompress());
  if (!compressor) throw ImageIoError(name + ": the JPEG encoder cannot start");
  unsigned char* encoded = nullptr;
  unsigned long size = 0;
  // No chroma subsampling: pseudo colour puts hard colour edges next to each other (profile bands,
  // the legend's labels, the marks), which halved colour resolution smears into fringes.
  const int failed =
      tjCompress2(compressor.get(), rgb.data(), static_cast<int>(image.Width()), 0, static_cast<int>(image.Height()),
                  TJPF_RGB, &encoded, &size, TJSAMP_444, quality, TJFLAG_ACCURATEDCT);
  const std::unique_ptr<unsigned char, TurboJpegDeleter> owned(encoded);
  if (failed != 0) throw ImageIoError(name + ": " + tjGetErrorStr2(compressor.get()));
  return {encoded, encoded + size};
}

}  // namespace

std::vector<BYTE> EncodeJpeg(const Image& image, int quality) { return Encode(image, quality, "JPEG data"); }

void WriteJpegFile(const Image& image, const std::filesystem::path& file, int quality) {
  image_io::CheckWritable({image.Width(), image.Height(), image.Frames(), image.Layout()}, file, ImageFileFormat::Jpeg);
  WriteFileAtomically(file, Encode(image, quality, file.string()));
}

}  // namespace xelhost
