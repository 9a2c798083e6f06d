// Per-handle libtiff message routing.
#include "image_io/tiff_support.h"

#include <xelfw/image_io.h>

#include <cstdarg>
#include <cstdio>

namespace xelfw::image_io {

TiffMessages::TiffMessages() : m_pOptions(TIFFOpenOptionsAlloc()) {
  if (m_pOptions == nullptr) throw ImageIoError("TIFF: out of memory");
  TIFFOpenOptionsSetErrorHandlerExtR(m_pOptions, KeepError, this);
  TIFFOpenOptionsSetWarningHandlerExtR(m_pOptions, DropWarning, this);
  // A corrupt header must not make libtiff itself take more than a decoded image may need.
  TIFFOpenOptionsSetMaxSingleMemAlloc(m_pOptions, static_cast<tmsize_t>(kMaxDecodedImageBytes));
}

TiffMessages::~TiffMessages() { TIFFOpenOptionsFree(m_pOptions); }

int TiffMessages::KeepError(TIFF*, void* user, const char* module, const char* format, va_list args) {
  auto* self = static_cast<TiffMessages*>(user);
  if (self->m_Error.empty()) {
    char text[256];
    std::vsnprintf(text, sizeof text, format, args);
    self->m_Error = (module != nullptr && module[0] != '\0') ? std::string(module) + ": " + text : text;
  }
  return 1;
}

int TiffMessages::DropWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

}  // namespace xelfw::image_io
