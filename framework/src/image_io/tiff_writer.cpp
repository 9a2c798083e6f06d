// TIFF encoding with libtiff: one page per frame, deflate-compressed.
#include "image_io/image_writers.h"
#include "image_io/pixel_rows.h"
#include "image_io/tiff_support.h"

#include <xelfw/AtomicFile.h>
#include <xelfw/image_io.h>

#include <unistd.h>

#include <cstring>
#include <vector>

namespace xelfw::image_io {

namespace {

void SetPageTags(TIFF* tiff, const Image& image, const WritableShape& shape, UINT frame) {
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(image.Width()));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(image.Height()));
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, static_cast<std::uint16_t>(shape.fileBits));
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, static_cast<std::uint16_t>(shape.samplesPerPixel));
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, shape.samplesPerPixel == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_UINT);
  // Keeps the significant bits of grey below the sample size readable, as sBIT does in a PNG.
  if (shape.samplesPerPixel == 1 && shape.significantBits < shape.fileBits) {
    TIFFSetField(tiff, TIFFTAG_MAXSAMPLEVALUE, static_cast<std::uint16_t>((1u << shape.significantBits) - 1));
  }
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
  TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
  if (image.Frames() > 1) {
    TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(tiff, TIFFTAG_PAGENUMBER, static_cast<std::uint16_t>(frame), static_cast<std::uint16_t>(image.Frames()));
  }
}

}  // namespace

void WriteTiff(const Image& image, const std::filesystem::path& file) {
  const std::string name = file.string();
  const WritableShape shape = ShapeForWriting(image, name);

  AtomicFile output(file);
  TiffMessages messages;
  // libtiff closes the descriptor it is given, so it gets a copy of the temporary file's.
  const int fd = ::dup(output.Descriptor());
  TiffHandle tiff(fd >= 0 ? TIFFFdOpenExt(fd, name.c_str(), "w", messages.Options()) : nullptr);
  if (tiff.Get() == nullptr) {
    if (fd >= 0) ::close(fd);
    throw ImageIoError(name + ": cannot open for writing: " + messages.Error("cannot create"));
  }

  std::vector<std::uint16_t> samples;
  std::vector<BYTE> row(std::size_t{image.Width()} * shape.samplesPerPixel * (shape.fileBits / 8));
  for (UINT frame = 0; frame < image.Frames(); ++frame) {
    SetPageTags(tiff.Get(), image, shape, frame);
    for (UINT y = 0; y < image.Height(); ++y) {
      ReadComponentRow(image, frame, y, samples);
      // libtiff takes samples in host order and records the byte order in the header.
      if (shape.fileBits == 8) {
        for (std::size_t i = 0; i < samples.size(); ++i) row[i] = static_cast<BYTE>(samples[i]);
      } else {
        std::memcpy(row.data(), samples.data(), row.size());
      }
      if (TIFFWriteScanline(tiff.Get(), row.data(), y, 0) != 1) {
        throw ImageIoError(name + ": cannot write TIFF: " + messages.Error("write failed"));
      }
    }
    if (TIFFWriteDirectory(tiff.Get()) != 1) throw ImageIoError(name + ": cannot write TIFF: " + messages.Error("write failed"));
  }
  tiff.Close();
  if (!messages.Error("").empty()) throw ImageIoError(name + ": cannot write TIFF: " + messages.Error(""));
  output.Commit();
}

}  // namespace xelfw::image_io
