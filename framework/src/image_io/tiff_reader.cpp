// TIFF decoding with libtiff, from memory; every page becomes a frame.
#include "image_io/pixel_rows.h"
#include "image_io/tiff_support.h"

#include <xelfw/image_io.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace xelfw {

namespace {

struct MemoryFile {
  std::span<const BYTE> bytes;
  toff_t pos = 0;
};

tmsize_t ReadMemory(thandle_t handle, void* out, tmsize_t count) {
  auto* file = static_cast<MemoryFile*>(handle);
  if (count <= 0 || file->pos >= file->bytes.size()) return 0;
  const auto available = static_cast<tmsize_t>(file->bytes.size() - file->pos);
  const tmsize_t n = count < available ? count : available;
  std::memcpy(out, file->bytes.data() + file->pos, static_cast<std::size_t>(n));
  file->pos += static_cast<toff_t>(n);
  return n;
}

tmsize_t RefuseWrite(thandle_t, void*, tmsize_t) { return -1; }

toff_t SeekMemory(thandle_t handle, toff_t offset, int whence) {
  auto* file = static_cast<MemoryFile*>(handle);
  const toff_t base = whence == SEEK_CUR ? file->pos : whence == SEEK_END ? file->bytes.size() : 0;
  file->pos = base + offset;
  return file->pos;
}

int CloseMemory(thandle_t) { return 0; }
toff_t SizeOfMemory(thandle_t handle) { return static_cast<MemoryFile*>(handle)->bytes.size(); }
int MapNothing(thandle_t, void**, toff_t*) { return 0; }
void UnmapNothing(thandle_t, void*, toff_t) {}

struct PageShape {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint16_t bitsPerSample = 0;
  std::uint16_t samplesPerPixel = 0;
  std::uint16_t significantBits = 0;
  bool bitsDeclared = false;  // MaxSampleValue said how many bits count

  bool operator==(const PageShape&) const = default;
};

// Throws for what the framework's images cannot hold or the reader does not decode.
PageShape ReadPageShape(TIFF* tiff, const std::string& sourceName, tdir_t page) {
  const std::string where = sourceName + " (page " + std::to_string(page) + ")";
  PageShape shape;
  std::uint16_t photometric = 0;
  std::uint16_t planar = PLANARCONFIG_CONTIG;
  std::uint16_t sampleFormat = SAMPLEFORMAT_UINT;
  if (TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &shape.width) != 1 ||
      TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &shape.height) != 1) {
    throw ImageIoError(where + ": TIFF page without a size");
  }
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &shape.bitsPerSample);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &shape.samplesPerPixel);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
  if (TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) != 1) {
    photometric = shape.samplesPerPixel == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
  }

  if (shape.bitsPerSample != 8 && shape.bitsPerSample != 16) {
    throw ImageIoError(where + ": " + std::to_string(shape.bitsPerSample) + " bits per sample (8 or 16 expected)");
  }
  if (sampleFormat != SAMPLEFORMAT_UINT) throw ImageIoError(where + ": samples are not unsigned integers");
  const bool grey = shape.samplesPerPixel == 1 && photometric == PHOTOMETRIC_MINISBLACK;
  const bool rgb = shape.samplesPerPixel == 3 && photometric == PHOTOMETRIC_RGB;
  if (!grey && !rgb) throw ImageIoError(where + ": only black-is-zero greyscale and RGB TIFFs are read");
  if (shape.samplesPerPixel > 1 && planar != PLANARCONFIG_CONTIG) {
    throw ImageIoError(where + ": separate colour planes are not read");
  }
  if (TIFFIsTiled(tiff)) throw ImageIoError(where + ": tiled TIFFs are not read");

  // Cameras that store 14-bit counts in 16-bit samples say so, if at all, through MaxSampleValue.
  std::uint16_t maxSample = 0;
  shape.significantBits = shape.bitsPerSample;
  if (grey && TIFFGetField(tiff, TIFFTAG_MAXSAMPLEVALUE, &maxSample) == 1 && maxSample > 0) {
    shape.bitsDeclared = true;
    shape.significantBits = static_cast<std::uint16_t>(std::min<int>(std::bit_width(maxSample), shape.bitsPerSample));
  }
  return shape;
}

void ReadPage(TIFF* tiff, Image& image, UINT frame, const image_io::TiffMessages& messages, const std::string& sourceName) {
  if (static_cast<std::size_t>(TIFFScanlineSize(tiff)) != image.Stride()) {
    throw ImageIoError(sourceName + ": unexpected TIFF row size");
  }
  for (UINT y = 0; y < image.Height(); ++y) {
    if (TIFFReadScanline(tiff, image.Data(frame) + y * image.Stride(), y, 0) != 1) {
      throw ImageIoError(sourceName + ": bad TIFF (page " + std::to_string(frame) + ", row " + std::to_string(y) +
                         "): " + messages.Error("cannot decode"));
    }
  }
}

}  // namespace

Image DecodeTiff(std::span<const BYTE> bytes, const std::string& sourceName) {
  image_io::TiffMessages messages;
  MemoryFile file{bytes};
  image_io::TiffHandle tiff(TIFFClientOpenExt(sourceName.c_str(), "rm", &file, ReadMemory, RefuseWrite, SeekMemory,
                                              CloseMemory, SizeOfMemory, MapNothing, UnmapNothing,
                                              messages.Options()));
  if (tiff.Get() == nullptr) throw ImageIoError(sourceName + ": bad TIFF: " + messages.Error("cannot open"));

  const tdir_t pages = TIFFNumberOfDirectories(tiff.Get());
  const PageShape first = ReadPageShape(tiff.Get(), sourceName, 0);
  const PixelLayout layout = image_io::DecodedLayout(first.samplesPerPixel, first.bitsPerSample, first.significantBits);
  image_io::CheckDecodedSize(first.width, first.height, pages, layout, sourceName);

  Image image(first.width, first.height, layout, pages);
  image.SetSignificantBitsDeclared(first.bitsDeclared);
  for (tdir_t page = 0; page < pages; ++page) {
    if (page > 0) {
      if (TIFFSetDirectory(tiff.Get(), page) != 1) {
        throw ImageIoError(sourceName + ": bad TIFF: " + messages.Error("cannot read page " + std::to_string(page)));
      }
      if (!(ReadPageShape(tiff.Get(), sourceName, page) == first)) {
        throw ImageIoError(sourceName + ": TIFF page " + std::to_string(page) + " differs in size or layout from page 0");
      }
    }
    ReadPage(tiff.Get(), image, page, messages, sourceName);
  }
  return image;
}

}  // namespace xelfw
