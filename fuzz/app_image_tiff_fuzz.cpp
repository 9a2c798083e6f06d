// Arbitrary bytes through the TIFF (every page) reader: a clear ImageIoError or a well-formed image, nothing else.
#include <xelhost/image_io.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const xelfw::Image image = xelhost::DecodeTiff(std::span<const BYTE>(data, size), "fuzz input");
    // Touch the last component of every frame: the buffers must be as large as the image claims.
    const UINT top = (1u << image.GetImgBPC()) - 1;
    for (UINT frame = 0; frame < image.Frames(); ++frame) {
      if (image.GetComponent(image.Width() - 1, image.Height() - 1, image.GetNumComponents() - 1, frame) > top) {
        std::abort();
      }
    }
  } catch (const xelhost::ImageIoError&) {
  }
  return 0;
}
