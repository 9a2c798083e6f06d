// libtiff handles whose error messages are kept for the exception instead of going to stderr.
#pragma once

#include <xelhost/AtomicFile.h>
#include <xelhost/framework_types.h>

#include <tiffio.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace xelhost::image_io {

class TiffMessages {
 public:
  TiffMessages();
  ~TiffMessages();
  TiffMessages(const TiffMessages&) = delete;
  TiffMessages& operator=(const TiffMessages&) = delete;

  TIFFOpenOptions* Options() const { return m_pOptions; }
  // The first error libtiff reported, or the fallback when it reported none.
  std::string Error(const std::string& fallback) const { return m_Error.empty() ? fallback : m_Error; }

 private:
  static int KeepError(TIFF*, void* user, const char* module, const char* format, va_list args);
  static int DropWarning(TIFF*, void*, const char*, const char*, va_list);

  TIFFOpenOptions* m_pOptions;
  std::string m_Error;
};

class TiffHandle {
 public:
  explicit TiffHandle(TIFF* tiff) : m_pTiff(tiff) {}
  ~TiffHandle() { Close(); }
  TiffHandle(const TiffHandle&) = delete;
  TiffHandle& operator=(const TiffHandle&) = delete;
  TIFF* Get() const { return m_pTiff; }
  void Close() {
    if (m_pTiff != nullptr) TIFFClose(m_pTiff);
    m_pTiff = nullptr;
  }

 private:
  TIFF* m_pTiff;
};

// A TIFF written into the atomic writer's temporary file. libtiff gets a copy of the temporary's
// descriptor (it closes what it is given), so the file is never opened again by its name.
class TiffOutput {
 public:
  // Throws ImageIoError naming the file when it cannot be created. big: a BigTIFF (64-bit offsets),
  // which may grow past the 4 GiB a classic TIFF can address.
  explicit TiffOutput(const std::filesystem::path& file, bool big = false);
  TIFF* Get() const { return m_Tiff.Get(); }
  const std::string& Name() const { return m_Name; }
  // The temporary's size so far.
  std::uint64_t BytesWritten() const;
  // Finishes libtiff's side of the file without putting it in place, and opens what was written for
  // reading (a handle the caller closes). Throws ImageIoError.
  TIFF* FinishAndReadBack(const TiffMessages& messages);
  // Throws ImageIoError with libtiff's first error.
  [[noreturn]] void Fail() const;
  // Closes the TIFF and puts the file in place; throws ImageIoError, the target then as it was.
  void Commit();

 private:
  std::string m_Name;
  AtomicFile m_Output;
  TiffMessages m_Messages;
  TiffHandle m_Tiff;
};

}  // namespace xelhost::image_io
