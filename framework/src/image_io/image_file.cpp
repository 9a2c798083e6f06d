// Image files by name: format from the extension for writing, from the content for reading.
#include "image_io/image_writers.h"

#include <xelfw/image_io.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace xelfw {

ImageFileFormat ImageFileFormatFromPath(const std::filesystem::path& file) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".png") return ImageFileFormat::Png;
  if (ext == ".tif" || ext == ".tiff") return ImageFileFormat::Tiff;
  if (ext == ".pgm") return ImageFileFormat::Pgm;
  throw ImageIoError(file.string() + ": unknown image file type (use .png, .tif, .tiff or .pgm)");
}

Image DecodeImage(std::span<const BYTE> bytes, const std::string& sourceName) {
  static constexpr BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const auto startsWith = [&](std::initializer_list<BYTE> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
  };
  if (bytes.size() >= 8 && std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin())) {
    return DecodePng(bytes, sourceName);
  }
  if (startsWith({'I', 'I', 42, 0}) || startsWith({'M', 'M', 0, 42}) || startsWith({'I', 'I', 43, 0}) ||
      startsWith({'M', 'M', 0, 43})) {
    return DecodeTiff(bytes, sourceName);
  }
  if (startsWith({'P', '5'})) return DecodePgm(bytes, sourceName);
  throw ImageIoError(sourceName + ": not a PNG, TIFF or binary PGM file");
}

Image ReadImageFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ImageIoError(file.string() + ": cannot open: " + std::strerror(errno));
  std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw ImageIoError(file.string() + ": cannot read");
  return DecodeImage(bytes, file.string());
}

void WriteImageFile(const Image& image, const std::filesystem::path& file) {
  WriteImageFile(image, file, ImageFileFormatFromPath(file));
}

void WriteImageFile(const Image& image, const std::filesystem::path& file, ImageFileFormat format) {
  WriteImageFile(image, file, format, ImageCompression::Default);
}

void WriteImageFile(const Image& image, const std::filesystem::path& file, ImageFileFormat format,
                    ImageCompression compression) {
  switch (format) {
    case ImageFileFormat::Png:
      image_io::WritePng(image, file, compression);
      return;
    case ImageFileFormat::Tiff:
      image_io::WriteTiff(image, file, compression);
      return;
    case ImageFileFormat::Pgm:
      image_io::WritePgm(image, file);
      return;
  }
  throw ImageIoError(file.string() + ": unknown image file type");
}

}  // namespace xelfw
