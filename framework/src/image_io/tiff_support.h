// libtiff handles whose error messages are kept for the exception instead of going to stderr.
#pragma once

#include <tiffio.h>

#include <string>

namespace xelfw::image_io {

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

}  // namespace xelfw::image_io
