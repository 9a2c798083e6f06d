// TIFF encoding: pages deflate-compressed here (with the horizontal predictor, in strips of about
// 256 KB) so that any thread can do it, then appended by libtiff as raw strips, page by page.
#include <xelhost/framework_types.h>
#include "image_io/image_writers.h"
#include "image_io/pixel_rows.h"
#include "image_io/tiff_support.h"
#include "image_io/zlib_stream.h"

#include <xelhost/image_io.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace xelhost::image_io {

namespace {

constexpr std::size_t kStripBytes = std::size_t{256} << 10;

// The row's samples in host order (libtiff records the byte order in the header), each minus the
// same sample of the pixel before: smooth rows become small numbers that compress well.
void DifferencedRow(const Image& image, UINT frame, UINT y, const WritableShape& shape,
                    std::vector<std::uint16_t>& samples, BYTE* out) {
  const std::size_t count = std::size_t{image.Width()} * shape.samplesPerPixel;
  const std::size_t step = shape.samplesPerPixel;
  if (const BYTE* plain = FileSampleRow(image, frame, y)) {
    std::memcpy(out, plain, step);
    for (std::size_t i = step; i < count; ++i) out[i] = static_cast<BYTE>(plain[i] - plain[i - step]);
    return;
  }
  ReadComponentRow(image, frame, y, samples);
  for (std::size_t i = count; i-- > step;) samples[i] = static_cast<std::uint16_t>(samples[i] - samples[i - step]);
  if (shape.fileBits == 8) {
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<BYTE>(samples[i]);
  } else {
    std::memcpy(out, samples.data(), count * 2);
  }
}

void SetPageTags(TIFF* tiff, const TiffPage& page) {
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(page.width));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(page.height));
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, static_cast<std::uint16_t>(page.fileBits));
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, static_cast<std::uint16_t>(page.samplesPerPixel));
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, page.samplesPerPixel == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_UINT);
  // Keeps the significant bits of grey below the sample size readable, as sBIT does in a PNG.
  if (page.samplesPerPixel == 1 && page.significantBits < page.fileBits) {
    TIFFSetField(tiff, TIFFTAG_MAXSAMPLEVALUE, static_cast<std::uint16_t>((1u << page.significantBits) - 1));
  }
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
  TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, static_cast<std::uint32_t>(page.rowsPerStrip));
}

}  // namespace

}  // namespace xelhost::image_io

namespace xelhost {

TiffPage EncodeTiffPage(const Image& image, UINT frame, ImageCompression compression) {
  const std::string name = "TIFF page";
  const image_io::WritableShape shape = image_io::ShapeForWriting(image, name);
  TiffPage page;
  page.width = image.Width();
  page.height = image.Height();
  page.samplesPerPixel = shape.samplesPerPixel;
  page.fileBits = shape.fileBits;
  page.significantBits = shape.significantBits;
  const std::size_t rowBytes = std::size_t{image.Width()} * shape.samplesPerPixel * (shape.fileBits / 8);
  page.rowsPerStrip = static_cast<UINT>(std::clamp<std::size_t>(image_io::kStripBytes / std::max<std::size_t>(rowBytes, 1), 1,
                                                                std::max<UINT>(image.Height(), 1)));
  std::vector<BYTE> strip(rowBytes * page.rowsPerStrip);
  std::vector<std::uint16_t> samples;
  for (UINT first = 0; first < image.Height(); first += page.rowsPerStrip) {
    const UINT rows = std::min(page.rowsPerStrip, image.Height() - first);
    for (UINT r = 0; r < rows; ++r) {
      image_io::DifferencedRow(image, frame, first + r, shape, samples, strip.data() + r * rowBytes);
    }
    page.strips.push_back(image_io::ZlibStream({strip.data(), rows * rowBytes}, compression, name));
  }
  return page;
}

struct TiffFileWriter::State {
  State(const std::filesystem::path& file, ImageCompression codec, UINT count)
      : output(file), compression(codec), pageCount(count) {}

  image_io::TiffOutput output;
  ImageCompression compression;
  UINT pageCount;
  UINT pages = 0;
};

TiffFileWriter::TiffFileWriter(const std::filesystem::path& file, ImageCompression compression, UINT pageCount)
    : m_State(std::make_unique<State>(file, compression, pageCount)) {}

TiffFileWriter::~TiffFileWriter() = default;

void TiffFileWriter::Add(const Image& image) {
  image_io::ShapeForWriting(image, m_State->output.Name());
  for (UINT frame = 0; frame < image.Frames(); ++frame) Add(EncodeTiffPage(image, frame, m_State->compression));
}

void TiffFileWriter::Add(const TiffPage& page) {
  State& s = *m_State;
  if (s.pages >= 0xFFFF) throw ImageIoError(s.output.Name() + ": too many frames for a TIFF");
  TIFF* tiff = s.output.Get();
  image_io::SetPageTags(tiff, page);
  if (s.pageCount != 1) {
    TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(tiff, TIFFTAG_PAGENUMBER, static_cast<std::uint16_t>(s.pages), static_cast<std::uint16_t>(s.pageCount));
  }
  for (std::size_t i = 0; i < page.strips.size(); ++i) {
    std::vector<BYTE> strip = page.strips[i];  // libtiff takes a non-const buffer
    if (TIFFWriteRawStrip(tiff, static_cast<uint32_t>(i), strip.data(), static_cast<tmsize_t>(strip.size())) < 0) s.output.Fail();
  }
  if (TIFFWriteDirectory(tiff) != 1) s.output.Fail();
  ++s.pages;
}

UINT TiffFileWriter::Pages() const { return m_State->pages; }

void TiffFileWriter::Commit() {
  m_State->output.Commit();
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

}  // namespace xelhost
