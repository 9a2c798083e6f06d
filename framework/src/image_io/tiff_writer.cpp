// TIFF encoding with libtiff: one deflate-compressed page per frame, written page by page.
#include "image_io/atomic_output.h"
#include "image_io/image_writers.h"
#include "image_io/pixel_rows.h"
#include "image_io/tiff_support.h"

#include <xelfw/image_io.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace xelfw::image_io {

namespace {

void SetPageTags(TIFF* tiff, const Image& image, const WritableShape& shape, ImageCompression compression) {
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
  // libtiff takes 1 as its lowest level.
  TIFFSetField(tiff, TIFFTAG_ZIPQUALITY, std::max(DeflateLevel(compression), 1));
  TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
  // Strips of about 256 KB: libtiff's default of 8 KB starts the compressor anew every few rows,
  // which costs more than the compression itself at the default level.
  const std::size_t rowBytes = std::size_t{image.Width()} * shape.samplesPerPixel * (shape.fileBits / 8);
  const auto rows = static_cast<std::uint32_t>(std::max<std::size_t>(1, (std::size_t{256} << 10) / std::max<std::size_t>(rowBytes, 1)));
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, rows));
}

}  // namespace

}  // namespace xelfw::image_io

namespace xelfw {

struct TiffFileWriter::State {
  State(const std::filesystem::path& file, ImageCompression compression, UINT pageCount)
      : name(file.string()),
        output(file),
        tiff(TIFFOpenExt(output.TempPath().c_str(), "w", messages.Options())),
        compression(compression),
        pageCount(pageCount) {}

  [[noreturn]] void Fail() const { throw ImageIoError(name + ": cannot write TIFF: " + messages.Error("write failed")); }

  std::string name;
  image_io::AtomicOutput output;
  image_io::TiffMessages messages;
  image_io::TiffHandle tiff;
  ImageCompression compression;
  UINT pageCount;
  UINT pages = 0;
  std::vector<std::uint16_t> samples;
  std::vector<BYTE> row;
};

TiffFileWriter::TiffFileWriter(const std::filesystem::path& file, ImageCompression compression, UINT pageCount)
    : m_State(std::make_unique<State>(file, compression, pageCount)) {
  if (m_State->tiff.Get() == nullptr) {
    throw ImageIoError(m_State->name + ": cannot open for writing: " + m_State->messages.Error("cannot create"));
  }
}

TiffFileWriter::~TiffFileWriter() = default;

void TiffFileWriter::Add(const Image& image) {
  State& s = *m_State;
  const image_io::WritableShape shape = image_io::ShapeForWriting(image, s.name);
  TIFF* tiff = s.tiff.Get();
  s.row.resize(std::size_t{image.Width()} * shape.samplesPerPixel * (shape.fileBits / 8));
  for (UINT frame = 0; frame < image.Frames(); ++frame) {
    if (s.pages >= 0xFFFF) throw ImageIoError(s.name + ": too many frames for a TIFF");
    image_io::SetPageTags(tiff, image, shape, s.compression);
    if (s.pageCount != 1) {
      TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
      TIFFSetField(tiff, TIFFTAG_PAGENUMBER, static_cast<std::uint16_t>(s.pages), static_cast<std::uint16_t>(s.pageCount));
    }
    for (UINT y = 0; y < image.Height(); ++y) {
      if (const BYTE* plain = image_io::FileSampleRow(image, frame, y)) {
        // libtiff's predictor works on the row in place, so it gets a copy.
        std::memcpy(s.row.data(), plain, s.row.size());
      } else {
        image_io::ReadComponentRow(image, frame, y, s.samples);
        // libtiff takes samples in host order and records the byte order in the header.
        if (shape.fileBits == 8) {
          for (std::size_t i = 0; i < s.samples.size(); ++i) s.row[i] = static_cast<BYTE>(s.samples[i]);
        } else {
          std::memcpy(s.row.data(), s.samples.data(), s.row.size());
        }
      }
      if (TIFFWriteScanline(tiff, s.row.data(), y, 0) != 1) s.Fail();
    }
    if (TIFFWriteDirectory(tiff) != 1) s.Fail();
    ++s.pages;
  }
}

UINT TiffFileWriter::Pages() const { return m_State->pages; }

void TiffFileWriter::Commit() {
  State& s = *m_State;
  s.tiff.Close();
  if (!s.messages.Error("").empty()) s.Fail();
  s.output.Commit();
}

namespace image_io {

void WriteTiff(const Image& image, const std::filesystem::path& file, ImageCompression compression) {
  const std::string name = file.string();
  ShapeForWriting(image, name);
  if (image.Frames() > 0xFFFF) throw ImageIoError(name + ": too many frames for a TIFF");
  TiffFileWriter writer(file, compression, image.Frames());
  writer.Add(image);
  writer.Commit();
}

}  // namespace image_io

}  // namespace xelfw
