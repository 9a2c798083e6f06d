// TIFF encoding: pages deflate-compressed here (with the horizontal predictor, in strips of about
// 256 KB) so that any thread can do it, then appended by libtiff as raw strips, page by page.
#include "image_io/image_writers.h"
#include "image_io/pixel_rows.h"
#include "image_io/tiff_provenance.h"
#include "image_io/tiff_support.h"
#include "image_io/zlib_stream.h"

#include <xelhost/image_io.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
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
  page.rowsPerStrip = static_cast<UINT>(std::clamp<std::size_t>(
      image_io::kStripBytes / std::max<std::size_t>(rowBytes, 1), 1, std::max<UINT>(image.Height(), 1)));
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

namespace image_io {

namespace {

// Room for a page's directory (its tags and strip tables) beyond its strips.
constexpr std::uint64_t kDirectoryRoom = 64 << 10;

std::uint64_t StripBytes(const TiffPage& page) {
  std::uint64_t bytes = 0;
  for (const std::vector<BYTE>& strip : page.strips) bytes += strip.size();
  return bytes;
}

}  // namespace

}  // namespace image_io

struct TiffFileWriter::State {
  State(const std::filesystem::path& target, ImageCompression codec, UINT count, std::uint64_t limit)
      : file(target),
        output(std::make_unique<image_io::TiffOutput>(target)),
        compression(codec),
        pageCount(count),
        classicLimit(limit) {}

  // The page's tags, its provenance, and a page number when the file is a sequence.
  void Tag(TIFF* tiff, const TiffPage& page, UINT index) const {
    image_io::SetPageTags(tiff, page);
    if (records[index]) image_io::SetProvenanceTags(tiff, *records[index]);
    if (pageCount != 1) {
      TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
      TIFFSetField(tiff, TIFFTAG_PAGENUMBER, static_cast<std::uint16_t>(index), static_cast<std::uint16_t>(pageCount));
    }
  }

  // A classic TIFF cannot address beyond 4 GiB. Its pages so far are copied, strip by strip as
  // they are stored, into a BigTIFF that takes the rest: a long sequence is finished rather than
  // thrown away when it reaches the limit, and a short one stays readable by every TIFF reader.
  void SwitchToBigTiff() {
    auto bigTiff = std::make_unique<image_io::TiffOutput>(file, true);
    if (shapes.empty()) {  // a first page beyond the limit: nothing to copy
      output = std::move(bigTiff);
      return;
    }
    image_io::TiffMessages messages;
    image_io::TiffHandle written(output->FinishAndReadBack(messages));
    std::vector<BYTE> strip;
    for (UINT index = 0; index < shapes.size(); ++index) {
      // The first page is read on opening, each further one after the one before.
      if (index > 0 && TIFFReadDirectory(written.Get()) != 1) {
        throw ImageIoError(output->Name() + ": cannot read back page " + std::to_string(index) + ": " +
                           messages.Error("no such page"));
      }
      Tag(bigTiff->Get(), shapes[index], index);
      const auto strips = static_cast<std::uint32_t>(TIFFNumberOfStrips(written.Get()));
      for (std::uint32_t i = 0; i < strips; ++i) {
        const tmsize_t size = TIFFRawStripSize(written.Get(), i);
        strip.resize(static_cast<std::size_t>(std::max<tmsize_t>(size, 0)));
        if (size < 0 || TIFFReadRawStrip(written.Get(), i, strip.data(), size) != size) {
          throw ImageIoError(output->Name() + ": cannot read back page " + std::to_string(index) + ": " +
                             messages.Error("strip unreadable"));
        }
        if (TIFFWriteRawStrip(bigTiff->Get(), i, strip.data(), size) < 0) bigTiff->Fail();
      }
      if (TIFFWriteDirectory(bigTiff->Get()) != 1) bigTiff->Fail();
    }
    output = std::move(bigTiff);  // the classic temporary goes with the old output
  }

  std::filesystem::path file;
  std::unique_ptr<image_io::TiffOutput> output;
  ImageCompression compression;
  UINT pageCount;
  std::uint64_t classicLimit;
  std::vector<TiffPage> shapes;                    // each page written so far, without its strips
  std::vector<std::optional<Provenance>> records;  // and its record, kept for a copy into a BigTIFF
  bool big = false;
};

TiffFileWriter::TiffFileWriter(const std::filesystem::path& file, ImageCompression compression, UINT pageCount,
                               std::uint64_t classicLimit)
    : m_State(std::make_unique<State>(file, compression, pageCount, classicLimit)) {}

TiffFileWriter::~TiffFileWriter() = default;

void TiffFileWriter::Add(const Image& image, const Provenance* record) {
  image_io::ShapeForWriting(image, m_State->output->Name());
  for (UINT frame = 0; frame < image.Frames(); ++frame) {
    Add(EncodeTiffPage(image, frame, m_State->compression), record);
  }
}

void TiffFileWriter::Add(const TiffPage& page, const Provenance* record) {
  State& s = *m_State;
  const auto index = static_cast<UINT>(s.shapes.size());
  if (index >= 0xFFFF) throw ImageIoError(s.output->Name() + ": too many frames for a TIFF");
  if (!s.big && s.output->BytesWritten() + image_io::StripBytes(page) + image_io::kDirectoryRoom > s.classicLimit) {
    s.SwitchToBigTiff();
    s.big = true;
  }
  TIFF* tiff = s.output->Get();
  s.records.resize(index);  // a page that failed before leaves no record behind
  s.records.push_back(record ? std::optional<Provenance>(*record) : std::nullopt);
  s.Tag(tiff, page, index);
  for (std::size_t i = 0; i < page.strips.size(); ++i) {
    std::vector<BYTE> strip = page.strips[i];  // libtiff takes a non-const buffer
    if (TIFFWriteRawStrip(tiff, static_cast<uint32_t>(i), strip.data(), static_cast<tmsize_t>(strip.size())) < 0)
      s.output->Fail();
  }
  if (TIFFWriteDirectory(tiff) != 1) s.output->Fail();
  TiffPage shape = page;
  shape.strips.clear();
  s.shapes.push_back(std::move(shape));
}

UINT TiffFileWriter::Pages() const { return static_cast<UINT>(m_State->shapes.size()); }

bool TiffFileWriter::IsBigTiff() const { return m_State->big; }

void TiffFileWriter::Commit() { m_State->output->Commit(); }

namespace image_io {

void WriteTiff(const Image& image, const std::filesystem::path& file, ImageCompression compression,
               const Provenance* record) {
  const std::string name = file.string();
  ShapeForWriting(image, name);
  if (image.Frames() > 0xFFFF) throw ImageIoError(name + ": too many frames for a TIFF");
  TiffFileWriter writer(file, compression, image.Frames());
  writer.Add(image, record);
  writer.Commit();
}

}  // namespace image_io

}  // namespace xelhost
