// Float TIFF pages: deflate-compressed strips written through libtiff on the atomic file's descriptor.
#include "image_io/tiff_support.h"

#include <xelfw/AtomicFile.h>
#include <xelfw/FloatTiffWriter.h>
#include <xelfw/image_io.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace xelfw {

namespace {

constexpr std::size_t kStripBytes = std::size_t{256} << 10;

}  // namespace

struct FloatTiffWriter::State {
  explicit State(const std::filesystem::path& file) : name(file.string()), output(file), tiff(OpenTemporary()) {}

  // libtiff closes the descriptor it is given, so it gets a copy of the temporary file's.
  TIFF* OpenTemporary() {
    const int fd = ::dup(output.Descriptor());
    if (fd < 0) return nullptr;
    TIFF* opened = TIFFFdOpenExt(fd, name.c_str(), "w", messages.Options());
    if (opened == nullptr) ::close(fd);
    return opened;
  }

  [[noreturn]] void Fail() const {
    throw ImageIoError(name + ": cannot write TIFF: " + messages.Error("write failed"));
  }

  std::string name;
  AtomicFile output;
  image_io::TiffMessages messages;
  image_io::TiffHandle tiff;
  UINT pages = 0;
};

FloatTiffWriter::FloatTiffWriter(const std::filesystem::path& file) : m_State(std::make_unique<State>(file)) {
  if (m_State->tiff.Get() == nullptr) {
    throw ImageIoError(m_State->name + ": cannot open for writing: " + m_State->messages.Error("cannot create"));
  }
}

FloatTiffWriter::~FloatTiffWriter() = default;

void FloatTiffWriter::Add(UINT width, UINT height, std::span<const float> values) {
  State& s = *m_State;
  if (width == 0 || height == 0 || values.size() != std::size_t{width} * height) {
    throw ImageIoError(s.name + ": a page of " + std::to_string(width) + " x " + std::to_string(height) + " needs " +
                       std::to_string(std::size_t{width} * height) + " values, not " + std::to_string(values.size()));
  }
  if (s.pages >= 0xFFFF) throw ImageIoError(s.name + ": too many frames for a TIFF");
  TIFF* tiff = s.tiff.Get();
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
  std::vector<float> strip;
  for (std::uint32_t first = 0, index = 0; first < height; first += rowsPerStrip, ++index) {
    const std::size_t rows = std::min<std::size_t>(rowsPerStrip, height - first);
    const auto part = values.subspan(first * std::size_t{width}, rows * width);
    strip.assign(part.begin(), part.end());  // libtiff takes a non-const buffer
    if (TIFFWriteEncodedStrip(tiff, index, strip.data(), static_cast<tmsize_t>(rows * rowBytes)) < 0) s.Fail();
  }
  if (TIFFWriteDirectory(tiff) != 1) s.Fail();
  ++s.pages;
}

UINT FloatTiffWriter::Pages() const { return m_State->pages; }

void FloatTiffWriter::Commit() {
  State& s = *m_State;
  if (s.pages == 0) throw ImageIoError(s.name + ": no page to write");
  s.tiff.Close();
  if (!s.messages.Error("").empty()) s.Fail();
  try {
    s.output.Commit();
  } catch (const FileWriteError& error) {
    throw ImageIoError(error.what());
  }
}

}  // namespace xelfw
