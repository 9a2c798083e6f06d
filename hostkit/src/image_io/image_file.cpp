// Image files by name: format from the extension for writing, from the first bytes for reading.
#include "image_io/frame_decoder.h"
#include "image_io/image_writers.h"

#include <xelhost/AtomicFile.h>
#include <xelhost/image_io.h>
#include <xelhost/memory_budget.h>
#include <xelhost/shared_pictures.h>

#include <png.h>

#include <algorithm>
#include <cctype>
#include <system_error>
#include <vector>

namespace xelhost {

namespace image_io {

std::unique_ptr<FrameDecoder> OpenFrameDecoder(ByteSource& source, FrameAllowance& allowance) {
  BYTE head[8] = {};
  source.Seek(0);
  const std::size_t got = source.Read(head, sizeof head);
  source.Seek(0);
  const auto startsWith = [&](std::initializer_list<BYTE> prefix) {
    return got >= prefix.size() && std::equal(prefix.begin(), prefix.end(), head);
  };
  if (startsWith({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) return OpenPngDecoder(source, allowance);
  if (startsWith({'I', 'I', 42, 0}) || startsWith({'M', 'M', 0, 42}) || startsWith({'I', 'I', 43, 0}) ||
      startsWith({'M', 'M', 0, 43})) {
    return OpenTiffDecoder(source, allowance);
  }
  if (startsWith({'P', '5'})) return OpenPgmDecoder(source, allowance);
  throw ImageIoError(source.Name() + ": not a PNG, TIFF or binary PGM file");
}

void FrameDecoder::ChargeFrame(const std::string& sourceName) const { FrameCharges::Charge(m_Info, sourceName); }

Image DecodeAllFrames(FrameDecoder& decoder) {
  std::vector<FrameBuffer> frames;
  FrameBuffer frame;
  while (decoder.Next(frame)) frames.push_back(std::move(frame));
  const ImageFileInfo& info = decoder.Info();
  Image image(info.width, info.height, info.layout, std::move(frames));
  image.SetSignificantBitsDeclared(decoder.SignificantBitsDeclared());
  return image;
}

namespace {

// libpng's own limit on the sides of a PNG it writes.
constexpr UINT kMaxPngSide = PNG_USER_WIDTH_MAX < PNG_USER_HEIGHT_MAX ? PNG_USER_WIDTH_MAX : PNG_USER_HEIGHT_MAX;
// The formats' own limits: JPEG's 16-bit sides, WebP's 14-bit ones.
constexpr UINT kMaxJpegSide = 65535;
constexpr UINT kMaxWebpSide = 16383;

}  // namespace

void CheckShape(const ImageFileInfo& image, const std::string& name, ImageFileFormat format) {
  const char* formatName = format == ImageFileFormat::Png    ? "PNG"
                           : format == ImageFileFormat::Pgm  ? "PGM"
                           : format == ImageFileFormat::Jpeg ? "JPEG"
                           : format == ImageFileFormat::Webp ? "WebP"
                                                             : "TIFF";
  if (format != ImageFileFormat::Tiff && image.frames != 1) {
    throw ImageIoError(name + ": a " + formatName + " holds one frame, the image has " + std::to_string(image.frames));
  }
  if (image.frames > kMaxImageFrames) {
    throw ImageIoError(name + ": a TIFF holds at most " + std::to_string(kMaxImageFrames) + " pages");
  }
  if (format == ImageFileFormat::Pgm && image.layout.numComponents != 1)
    throw ImageIoError(name + ": a PGM holds greyscale only");
  const UINT maxSide = format == ImageFileFormat::Png    ? kMaxPngSide
                       : format == ImageFileFormat::Jpeg ? kMaxJpegSide
                       : format == ImageFileFormat::Webp ? kMaxWebpSide
                                                         : 0;
  if (maxSide != 0 && (image.width > maxSide || image.height > maxSide)) {
    throw ImageIoError(name + ": a " + formatName + " is at most " + std::to_string(maxSide) + " pixels wide and high");
  }
}

void CheckWritable(const ImageFileInfo& image, const std::filesystem::path& file, ImageFileFormat format) {
  const std::string name = file.string();
  if (file.filename().empty()) throw ImageIoError(name + ": not a file name");
  const std::filesystem::path dir = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  std::error_code error;
  if (!std::filesystem::is_directory(dir, error)) throw ImageIoError(name + ": no such folder " + dir.string());
  CheckShape(image, name, format);
}

}  // namespace image_io

ImageFileFormat ImageFileFormatFromPath(const std::filesystem::path& file) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".png") return ImageFileFormat::Png;
  if (ext == ".tif" || ext == ".tiff") return ImageFileFormat::Tiff;
  if (ext == ".pgm") return ImageFileFormat::Pgm;
  if (ext == ".jpg" || ext == ".jpeg") return ImageFileFormat::Jpeg;
  if (ext == ".webp") return ImageFileFormat::Webp;
  throw ImageIoError(file.string() + ": unknown image file type (use .png, .tif, .tiff, .pgm, .jpg, .jpeg or .webp)");
}

Image image_io::DecodeBytes(std::span<const BYTE> bytes, const std::string& sourceName, DecoderOpener open,
                            const ReadLimits& limits) {
  MemorySource source(bytes, sourceName);
  FrameAllowance allowance(limits, bytes.size(), sourceName, false);
  return DecodeAllFrames(*open(source, allowance));
}

Image DecodeImage(std::span<const BYTE> bytes, const std::string& sourceName, const ReadLimits& limits) {
  return image_io::DecodeBytes(bytes, sourceName, image_io::OpenFrameDecoder, limits);
}

Image ReadImageFile(const std::filesystem::path& file, const ReadLimits& limits) {
  image_io::FileSource source(file);
  image_io::FrameAllowance allowance(limits, source.Size(), source.Name(), false);
  return image_io::DecodeAllFrames(*image_io::OpenFrameDecoder(source, allowance));
}

ImageFileInfo InspectImageFile(const std::filesystem::path& file, const ReadLimits& limits) {
  image_io::FileSource source(file);
  image_io::FrameAllowance allowance(limits, source.Size(), source.Name(), false);
  const auto decoder = image_io::OpenFrameDecoder(source, allowance);
  ImageFileInfo info = decoder->Info();
  info.frames = 0;
  while (decoder->Skip()) ++info.frames;
  return info;
}

void CheckImageFileWritable(const ImageFileInfo& image, const std::filesystem::path& file) {
  image_io::CheckWritable(image, file, ImageFileFormatFromPath(file));
}

void WriteImageFile(const Image& image, const std::filesystem::path& file) {
  WriteImageFile(image, file, ImageFileFormatFromPath(file));
}

void WriteImageFile(const Image& image, const std::filesystem::path& file, ImageFileFormat format) {
  WriteImageFile(image, file, format, ImageCompression::Default);
}

void WriteImageFile(const Image& image, const std::filesystem::path& file, ImageFileFormat format,
                    ImageCompression compression, const Provenance* record) {
  image_io::CheckWritable(ImageFileInfo{image.Width(), image.Height(), image.Frames(), image.Layout()}, file, format);
  try {
    switch (format) {
      case ImageFileFormat::Png:
        image_io::WritePng(image, file, compression, record);
        return;
      case ImageFileFormat::Tiff:
        image_io::WriteTiff(image, file, compression, record);
        return;
      case ImageFileFormat::Pgm:
        image_io::WritePgm(image, file);
        return;
      case ImageFileFormat::Jpeg:
        WriteJpegFile(image, file);
        return;
      case ImageFileFormat::Webp:
        WriteWebpFile(image, file);
        return;
    }
  } catch (const FileWriteError& error) {
    throw ImageIoError(error.what());
  }
  throw ImageIoError(file.string() + ": unknown image file type");
}

}  // namespace xelhost
