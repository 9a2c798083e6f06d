// Image files: PNG (libpng), TIFF (libtiff, every page) and binary PGM, read into and written from
// the framework's images.
#pragma once

#include <xelfw/Image.h>
#include <xelhost/framework_types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace xelhost {

class Provenance;

// A file that cannot be read, decoded or written; the message names the file and the reason.
class XEL_HOST_API ImageIoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class ImageFileFormat { Png, Tiff, Pgm, Jpeg, Webp };

// By extension (.png, .tif, .tiff, .pgm, .jpg, .jpeg, .webp, any case). Throws ImageIoError for
// anything else.
XEL_HOST_API ImageFileFormat ImageFileFormatFromPath(const std::filesystem::path& file);

// A file that cannot be read because its decoded data would take more bytes than the read's limit.
class XEL_HOST_API ImageLimitError : public ImageIoError {
 public:
  using ImageIoError::ImageIoError;
};

// Larger decoded images are refused before any pixel memory is taken, so that a corrupt header
// cannot make a reader allocate gigabytes.
inline constexpr std::size_t kMaxDecodedImageBytes = std::size_t{1} << 30;
// As many pages as a TIFF's page numbers count.
inline constexpr UINT kMaxImageFrames = 65535;

// What one read may cost. A file is also refused when its header declares more decoded data than its
// size can hold at the format's largest compression ratio (a truncated file or a "bomb").
struct ReadLimits {
  std::size_t maxDecodedBytes = kMaxDecodedImageBytes;  // every frame of the file together
  UINT maxFrames = kMaxImageFrames;                     // checked as the pages are found
};

// Size and layout of the image a file decodes to, from its headers; frames counts every page.
struct ImageFileInfo {
  UINT width = 0;
  UINT height = 0;
  UINT frames = 0;
  PixelLayout layout;

  std::size_t FrameBytes() const { return std::size_t{width} * height * layout.BytesPerPixel(); }
  std::size_t DecodedBytes() const { return FrameBytes() * frames; }
};

// What readers deliver: greyscale in 8- or 16-bit units with the file's significant bits (PNG sBIT,
// PGM maxval, TIFF BitsPerSample) at LSB 0, or RGB in 3 units a pixel. Every TIFF page becomes a
// frame; the pages must share size and layout. The format is found from the first bytes, not the
// name, and a file is read as the decoder needs it, never whole: only regular files are read.
XEL_HOST_API Image ReadImageFile(const std::filesystem::path& file, const ReadLimits& limits = {});
// Reads the headers (every page's) without decoding pixels, with the same checks as ReadImageFile.
XEL_HOST_API ImageFileInfo InspectImageFile(const std::filesystem::path& file, const ReadLimits& limits = {});
// A frame's decoded size is checked against the limits from its header, before its pixels take memory.
XEL_HOST_API Image DecodeImage(std::span<const BYTE> bytes, const std::string& sourceName = "image data",
                               const ReadLimits& limits = {});
XEL_HOST_API Image DecodePng(std::span<const BYTE> bytes, const std::string& sourceName);
XEL_HOST_API Image DecodeTiff(std::span<const BYTE> bytes, const std::string& sourceName);
XEL_HOST_API Image DecodePgm(std::span<const BYTE> bytes, const std::string& sourceName);

// Reads an image file one frame (one TIFF page) at a time, so that a sequence costs the memory of
// the frames in flight, not of the whole file. Every frame is a one-frame image of the file's layout.
// The file stays open between frames; maxDecodedBytes of the limits applies to each frame.
class XEL_HOST_API ImageFileReader {
 public:
  // Throws ImageIoError naming the file when it cannot be opened or is not an image file.
  explicit ImageFileReader(const std::filesystem::path& file);
  ImageFileReader(const std::filesystem::path& file, const ReadLimits& limits);
  ~ImageFileReader();
  ImageFileReader(ImageFileReader&&) noexcept;
  ImageFileReader& operator=(ImageFileReader&&) noexcept;

  // The next frame, or nothing after the last. Throws ImageIoError naming the file and the page.
  std::optional<Image> Next();
  // Passes over the next frame, reading its header but no pixels; false after the last.
  bool Skip();
  const std::filesystem::path& Path() const;
  // Size and layout of every frame (frames: 1, the pages are counted as they are read).
  const ImageFileInfo& FrameInfo() const;

 private:
  struct State;
  std::unique_ptr<State> m_State;
};

// Throws ImageIoError naming the file when an image of this shape cannot be written to it: unknown
// extension, a folder that does not exist, more frames or larger sides than the format holds, colour
// into PGM. Writers check the same; callers check first to refuse before any work is done.
XEL_HOST_API void CheckImageFileWritable(const ImageFileInfo& image, const std::filesystem::path& file);

// Writes greyscale or three-component colour images in 8- or 16-bit units (significant bits below
// the unit size are kept: PNG scales them up and records sBIT, PGM sets maxval, TIFF stores them as
// they are). PNG and PGM hold one frame, TIFF one page per frame; PGM holds greyscale only. JPEG and
// WebP (shared_pictures.h) hold one frame of at most 8 bits a component. The file
// appears complete or not at all: it is written beside the target under a temporary name and renamed.
XEL_HOST_API void WriteImageFile(const Image& image, const std::filesystem::path& file);
XEL_HOST_API void WriteImageFile(const Image& image, const std::filesystem::path& file, ImageFileFormat format);

// How hard writers compress (PNG and TIFF are deflate). The default comes within a few per cent of
// zlib's default size in a fraction of its time; Fast writes PNG data uncompressed (three times the
// size), Small saves a few per cent more at many times the time.
enum class ImageCompression { Fast, Default, Small };

// A provenance record, when given, is written into the file: PNG text chunks, each TIFF page's
// ImageDescription, Software, PageName and DateTime (see xelhost/provenance.h).
XEL_HOST_API void WriteImageFile(const Image& image, const std::filesystem::path& file, ImageFileFormat format,
                                 ImageCompression compression, const Provenance* record = nullptr);
// A complete PNG file in memory, for a stream rather than a named file. Throws ImageIoError as
// WriteImageFile does.
XEL_HOST_API std::vector<BYTE> EncodePng(const Image& image, ImageCompression compression = ImageCompression::Default,
                                         const Provenance* record = nullptr);

// A TIFF page compressed ahead of writing, so that several threads can compress while one writer
// appends the pages in order.
struct TiffPage {
  UINT width = 0;
  UINT height = 0;
  UINT samplesPerPixel = 1;  // 1 grey, 3 RGB
  UINT fileBits = 8;         // 8 or 16
  UINT significantBits = 8;
  UINT rowsPerStrip = 1;
  std::vector<std::vector<BYTE>> strips;  // deflate streams of the rows after horizontal differencing
};

// One frame of an image as a page; any thread. Throws ImageIoError for what a TIFF cannot hold.
XEL_HOST_API TiffPage EncodeTiffPage(const Image& image, UINT frame, ImageCompression compression);

// Writes a TIFF page by page, so that a sequence never has to be in memory whole. The file appears
// on Commit, complete; a writer destroyed without Commit leaves nothing (and the target unchanged).
// The largest file a classic TIFF's 32-bit offsets address.
inline constexpr std::uint64_t kClassicTiffLimit = (std::uint64_t{1} << 32) - 1;

class XEL_HOST_API TiffFileWriter {
 public:
  // pageCount 1 writes a plain one-page file; any other count tags each page with its number of
  // pageCount, 0 when the count is not known in advance. The file is a classic TIFF until a page
  // would take it past classicLimit bytes (4 GiB, all its 32-bit offsets can address): then it
  // becomes a BigTIFF, its pages so far copied over. Throws ImageIoError.
  TiffFileWriter(const std::filesystem::path& file, ImageCompression compression, UINT pageCount,
                 std::uint64_t classicLimit = kClassicTiffLimit);
  ~TiffFileWriter();
  TiffFileWriter(const TiffFileWriter&) = delete;
  TiffFileWriter& operator=(const TiffFileWriter&) = delete;

  // Every frame of the image becomes a page; images may differ in size and layout. A record, when
  // given, goes into the page's tags.
  void Add(const Image& image, const Provenance* record = nullptr);
  void Add(const TiffPage& page, const Provenance* record = nullptr);
  UINT Pages() const;
  bool IsBigTiff() const;
  void Commit();

 private:
  struct State;
  std::unique_ptr<State> m_State;
};

}  // namespace xelhost
