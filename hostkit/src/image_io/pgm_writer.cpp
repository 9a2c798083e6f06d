// Binary PGM (P5) encoding; maxval carries the significant bits.
#include "image_io/image_writers.h"
#include "image_io/pixel_rows.h"

#include <xelhost/AtomicFile.h>
#include <xelhost/image_io.h>

#include <string>
#include <vector>

namespace xelhost::image_io {

void WritePgm(const Image& image, const std::filesystem::path& file) {
  const std::string name = file.string();
  const WritableShape shape = ShapeForWriting(image, name);

  const unsigned maxval = (1u << shape.significantBits) - 1;
  const std::size_t sampleBytes = maxval < 256 ? 1 : 2;
  AtomicFile output(file);
  output.Write("P5\n" + std::to_string(image.Width()) + " " + std::to_string(image.Height()) + "\n" +
               std::to_string(maxval) + "\n");
  std::vector<std::uint16_t> samples;
  std::vector<BYTE> row(std::size_t{image.Width()} * sampleBytes);
  for (UINT y = 0; y < image.Height(); ++y) {
    ReadComponentRow(image, 0, y, samples);
    for (std::size_t i = 0; i < samples.size(); ++i) {
      if (sampleBytes == 2) {
        row[2 * i] = static_cast<BYTE>(samples[i] >> 8);
        row[2 * i + 1] = static_cast<BYTE>(samples[i]);
      } else {
        row[i] = static_cast<BYTE>(samples[i]);
      }
    }
    output.Write(row);
  }
  output.Commit();
}

}  // namespace xelhost::image_io
