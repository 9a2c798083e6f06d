// TIFF decoding with libtiff from a byte source; every page becomes a frame.
#include "image_io/frame_decoder.h"
#include "image_io/pixel_rows.h"
#include "image_io/tiff_support.h"

#include <xelhost/image_io.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <exception>
#include <memory>
#include <string>

namespace xelhost {

namespace {

using image_io::ByteSource;
using image_io::FrameAllowance;
using image_io::FrameDecoder;

// libtiff reads through these; a read error ends the read short, which libtiff reports.
tmsize_t ReadSource(thandle_t handle, void* out, tmsize_t count) {
  if (count <= 0) return 0;
  try {
    return static_cast<tmsize_t>(static_cast<ByteSource*>(handle)->Read(out, static_cast<std::size_t>(count)));
  } catch (const std::exception&) {
    return -1;
  }
}

tmsize_t RefuseWrite(thandle_t, void*, tmsize_t) { return -1; }

toff_t SeekSource(thandle_t handle, toff_t offset, int whence) {
  auto* source = static_cast<ByteSource*>(handle);
  const toff_t base = whence == SEEK_CUR ? source->Position() : whence == SEEK_END ? source->Size() : 0;
  source->Seek(base + offset);
  return source->Position();
}

int CloseNothing(thandle_t) { return 0; }
toff_t SizeOfSource(thandle_t handle) { return static_cast<ByteSource*>(handle)->Size(); }
int MapNothing(thandle_t, void**, toff_t*) { return 0; }
void UnmapNothing(thandle_t, void*, toff_t) {}

// Decoded bytes one stored byte can give at most, by compression; others count only against the
// byte limit.
std::uint64_t MaxRatio(std::uint16_t compression) {
  switch (compression) {
    case COMPRESSION_NONE:
      return 1;
    case COMPRESSION_PACKBITS:
      return 64;  // a 2-byte run of 128
    case COMPRESSION_LZW:
      return 2731;  // a 12-bit code for a string of up to 4096 bytes
    case COMPRESSION_DEFLATE:
    case COMPRESSION_ADOBE_DEFLATE:
      return image_io::kDeflateMaxRatio;
    default:
      return image_io::kUnboundedRatio;
  }
}

struct PageShape {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint16_t bitsPerSample = 0;
  std::uint16_t samplesPerPixel = 0;
  std::uint16_t significantBits = 0;
  bool bitsDeclared = false;  // MaxSampleValue said how many bits count
  std::uint16_t compression = COMPRESSION_NONE;

  bool SameLayout(const PageShape& other) const {
    return width == other.width && height == other.height && bitsPerSample == other.bitsPerSample &&
           samplesPerPixel == other.samplesPerPixel && significantBits == other.significantBits &&
           bitsDeclared == other.bitsDeclared;
  }
};

// Throws for what the framework's images cannot hold or the reader does not decode.
PageShape ReadPageShape(TIFF* tiff, const std::string& sourceName, std::uint64_t page) {
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
  TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &shape.compression);
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

// Pages are read in file order, each directory once: moving to page n from the start each time
// would make a file of many pages cost their square.
class TiffDecoder final : public FrameDecoder {
 public:
  TiffDecoder(ByteSource& source, FrameAllowance& allowance)
      : m_Source(source),
        m_Allowance(allowance),
        m_Tiff(TIFFClientOpenExt(source.Name().c_str(), "rm", &source, ReadSource, RefuseWrite, SeekSource,
                                 CloseNothing, SizeOfSource, MapNothing, UnmapNothing, m_Messages.Options())) {
    if (m_Tiff.Get() == nullptr) throw ImageIoError(source.Name() + ": bad TIFF: " + m_Messages.Error("cannot open"));
    m_First = ReadPageShape(m_Tiff.Get(), source.Name(), 0);
    m_Info.width = m_First.width;
    m_Info.height = m_First.height;
    m_Info.frames = 1;
    m_Info.layout = image_io::DecodedLayout(m_First.samplesPerPixel, m_First.bitsPerSample, m_First.significantBits);
    m_BitsDeclared = m_First.bitsDeclared;
    m_FrameBytes = allowance.FrameBytes(m_Info.width, m_Info.height, m_Info.layout);
  }

  bool Next(FrameBuffer& frame) override {
    if (!Skip()) return false;
    const std::size_t stride = std::size_t{m_Info.width} * m_Info.layout.BytesPerPixel();
    if (static_cast<std::size_t>(TIFFScanlineSize(m_Tiff.Get())) != stride) {
      throw ImageIoError(m_Source.Name() + ": unexpected TIFF row size");
    }
    ChargeFrame(m_Source.Name());
    frame.resize(m_FrameBytes);
    for (UINT y = 0; y < m_Info.height; ++y) {
      if (TIFFReadScanline(m_Tiff.Get(), frame.data() + y * stride, y, 0) != 1) {
        throw ImageIoError(m_Source.Name() + ": bad TIFF (page " + std::to_string(m_Page - 1) + ", row " +
                           std::to_string(y) + "): " + m_Messages.Error("cannot decode"));
      }
    }
    return true;
  }

  // Moves to the next page and admits it; the pixels are left for Next.
  bool Skip() override {
    if (m_Page > 0) {
      if (TIFFLastDirectory(m_Tiff.Get()) != 0) return false;
      m_Allowance.CheckFrameIndex(m_Page);
      if (TIFFReadDirectory(m_Tiff.Get()) != 1) {
        throw ImageIoError(m_Source.Name() +
                           ": bad TIFF: " + m_Messages.Error("cannot read page " + std::to_string(m_Page)));
      }
    }
    const PageShape shape = m_Page == 0 ? m_First : ReadPageShape(m_Tiff.Get(), m_Source.Name(), m_Page);
    if (!shape.SameLayout(m_First)) {
      throw ImageIoError(m_Source.Name() + ": TIFF page " + std::to_string(m_Page) +
                         " differs in size or layout from page 0");
    }
    m_Allowance.Admit(m_FrameBytes, m_FrameBytes, m_Source.Size(), MaxRatio(shape.compression));
    ++m_Page;
    return true;
  }

 private:
  ByteSource& m_Source;
  FrameAllowance& m_Allowance;
  image_io::TiffMessages m_Messages;
  image_io::TiffHandle m_Tiff;
  PageShape m_First;
  std::size_t m_FrameBytes = 0;
  std::uint64_t m_Page = 0;  // pages admitted so far
};

}  // namespace

namespace image_io {

std::unique_ptr<FrameDecoder> OpenTiffDecoder(ByteSource& source, FrameAllowance& allowance) {
  return std::make_unique<TiffDecoder>(source, allowance);
}

}  // namespace image_io

Image DecodeTiff(std::span<const BYTE> bytes, const std::string& sourceName) {
  return image_io::DecodeBytes(bytes, sourceName, image_io::OpenTiffDecoder);
}

}  // namespace xelhost
