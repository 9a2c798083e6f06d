// JPEG encoding through libjpeg-turbo's TurboJPEG interface.
#include "image_io/image_writers.h"
#include "image_io/rgb8_rows.h"

#include <xelhost/AtomicFile.h>
#include <xelhost/image_io.h>
#include <xelhost/shared_pictures.h>

#include <turbojpeg.h>

#include <algorithm>
#include <memory>

namespace xelhost {

namespace {

struct TurboJpegDeleter {
  void operator()(void* handle) const { tjDestroy(handle); }
  void operator()(unsigned char* buffer) const { tjFree(buffer); }
};

constexpr BYTE kMarker = 0xFF;
constexpr BYTE kApp0 = 0xE0;
constexpr BYTE kComment = 0xFE;
constexpr std::size_t kSegmentPayload = 65533;  // a segment's length field counts itself

// The block in comment segments right after the JFIF header, which must stay first; exiftool and
// `xelimg info` read them back joined.
void AddComments(std::vector<BYTE>& jpeg, const Provenance& record) {
  std::size_t at = 2;  // after SOI
  if (jpeg.size() > 6 && jpeg[2] == kMarker && jpeg[3] == kApp0) at = 4 + (std::size_t{jpeg[4]} << 8 | jpeg[5]);
  const std::string block = record.Block();
  std::vector<BYTE> segments;
  for (std::size_t start = 0; start < block.size(); start += kSegmentPayload) {
    const std::size_t length = std::min(kSegmentPayload, block.size() - start) + 2;
    segments.insert(segments.end(), {kMarker, kComment, static_cast<BYTE>(length >> 8), static_cast<BYTE>(length)});
    segments.insert(segments.end(), block.begin() + static_cast<std::ptrdiff_t>(start),
                    block.begin() + static_cast<std::ptrdiff_t>(start + length - 2));
  }
  jpeg.insert(jpeg.begin() + static_cast<std::ptrdiff_t>(at), segments.begin(), segments.end());
}

std::vector<BYTE> Encode(const Image& image, int quality, const std::string& name, const Provenance* record) {
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
  std::vector<BYTE> jpeg(encoded, encoded + size);
  if (record) AddComments(jpeg, *record);
  return jpeg;
}

}  // namespace

std::vector<BYTE> EncodeJpeg(const Image& image, int quality, const Provenance* record) {
  return Encode(image, quality, "JPEG data", record);
}

void WriteJpegFile(const Image& image, const std::filesystem::path& file, int quality, const Provenance* record) {
  image_io::CheckWritable({image.Width(), image.Height(), image.Frames(), image.Layout()}, file, ImageFileFormat::Jpeg);
  WriteFileAtomically(file, Encode(image, quality, file.string(), record));
}

}  // namespace xelhost
