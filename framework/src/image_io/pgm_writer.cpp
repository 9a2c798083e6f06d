// Binary PGM (P5) encoding; maxval carries the significant bits.
#include "image_io/atomic_output.h"
#include "image_io/image_writers.h"
#include "image_io/pixel_rows.h"

#include <xelfw/image_io.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace xelfw::image_io {

void WritePgm(const Image& image, const std::filesystem::path& file) {
  const std::string name = file.string();
  const WritableShape shape = ShapeForWriting(image, name);

  const unsigned maxval = (1u << shape.significantBits) - 1;
  const std::size_t sampleBytes = maxval < 256 ? 1 : 2;
  std::vector<BYTE> encoded;
  encoded.reserve(std::size_t{image.Width()} * image.Height() * sampleBytes + 32);
  const std::string header =
      "P5\n" + std::to_string(image.Width()) + " " + std::to_string(image.Height()) + "\n" + std::to_string(maxval) + "\n";
  encoded.insert(encoded.end(), header.begin(), header.end());
  std::vector<std::uint16_t> samples;
  for (UINT y = 0; y < image.Height(); ++y) {
    ReadComponentRow(image, 0, y, samples);
    for (const std::uint16_t value : samples) {
      if (sampleBytes == 2) encoded.push_back(static_cast<BYTE>(value >> 8));
      encoded.push_back(static_cast<BYTE>(value));
    }
  }

  AtomicOutput output(file);
  std::FILE* stream = std::fopen(output.TempPath().c_str(), "wb");
  if (stream == nullptr) throw ImageIoError(name + ": cannot open for writing: " + std::strerror(errno));
  const bool written = std::fwrite(encoded.data(), 1, encoded.size(), stream) == encoded.size();
  const bool closed = std::fclose(stream) == 0;
  if (!written || !closed) throw ImageIoError(name + ": cannot write PGM: " + std::strerror(errno));
  output.Commit();
}

}  // namespace xelfw::image_io
