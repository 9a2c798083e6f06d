// Float TIFF pages: deflate-compressed strips written through libtiff on the atomic file's descriptor.
#include "image_io/imagej_description.h"
#include "image_io/tiff_provenance.h"
#include "image_io/tiff_support.h"

#include <xelhost/FloatTiffWriter.h>
#include <xelhost/image_io.h>
#include <xelhost/provenance.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace xelhost {

namespace {

constexpr std::size_t kStripBytes = std::size_t{256} << 10;

}  // namespace

struct FloatTiffWriter::State {
  explicit State(const std::filesystem::path& file) : output(file) {}

  image_io::TiffOutput output;
  UINT pages = 0;
};

FloatTiffWriter::FloatTiffWriter(const std::filesystem::path& file) : m_State(std::make_unique<State>(file)) {}

FloatTiffWriter::~FloatTiffWriter() = default;

void FloatTiffWriter::Add(UINT width, UINT height, std::span<const float> values, const Provenance* record) {
  State& s = *m_State;
  if (width == 0 || height == 0 || values.size() != std::size_t{width} * height) {
    throw ImageIoError(s.output.Name() + ": a page of " + std::to_string(width) + " x " + std::to_string(height) +
                       " needs " + std::to_string(std::size_t{width} * height) + " values, not " +
                       std::to_string(values.size()));
  }
  if (s.pages >= 0xFFFF) throw ImageIoError(s.output.Name() + ": too many frames for a TIFF");
  TIFF* tiff = s.output.Get();
  const std::size_t rowBytes = std::size_t{width} * sizeof(float);
  const auto rowsPerStrip = static_cast<std::uint32_t>(std::clamp<std::size_t>(kStripBytes / rowBytes, 1, height));
  TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(width));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(height));
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, static_cast<std::uint16_t>(32));
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, static_cast<std::uint16_t>(1));
  TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
  if (record) image_io::SetProvenanceTags(tiff, *record, image_io::ImageJDescriptionHead(*record));
  std::vector<float> strip;
  for (std::uint32_t first = 0, index = 0; first < height; first += rowsPerStrip, ++index) {
    const std::size_t rows = std::min<std::size_t>(rowsPerStrip, height - first);
    const auto part = values.subspan(first * std::size_t{width}, rows * width);
    strip.assign(part.begin(), part.end());  // libtiff takes a non-const buffer
    if (TIFFWriteEncodedStrip(tiff, index, strip.data(), static_cast<tmsize_t>(rows * rowBytes)) < 0) s.output.Fail();
  }
  if (TIFFWriteDirectory(tiff) != 1) s.output.Fail();
  ++s.pages;
}

UINT FloatTiffWriter::Pages() const { return m_State->pages; }

void FloatTiffWriter::Commit() {
  State& s = *m_State;
  if (s.pages == 0) throw ImageIoError(s.output.Name() + ": no page to write");
  s.output.Commit();
}

}  // namespace xelhost
