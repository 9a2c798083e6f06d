// Per-handle libtiff message routing, and TIFFs written through the atomic writer.
#include "image_io/tiff_support.h"

#include <xelhost/image_io.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>

namespace xelhost::image_io {

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

namespace {

TIFF* OpenOnCopyOf(int descriptor, const std::string& name, const char* mode, const TiffMessages& messages) {
  const int fd = ::dup(descriptor);
  if (fd < 0) return nullptr;
  TIFF* opened = TIFFFdOpenExt(fd, name.c_str(), mode, messages.Options());
  if (opened == nullptr) ::close(fd);
  return opened;
}

}  // namespace

TiffOutput::TiffOutput(const std::filesystem::path& file, bool big)
    : m_Name(file.string()),
      m_Output(file),
      m_Tiff(OpenOnCopyOf(m_Output.Descriptor(), m_Name, big ? "w8" : "w", m_Messages)) {
  if (m_Tiff.Get() == nullptr)
    throw ImageIoError(m_Name + ": cannot open for writing: " + m_Messages.Error("cannot create"));
}

std::uint64_t TiffOutput::BytesWritten() const {
  struct stat status {};
  if (::fstat(m_Output.Descriptor(), &status) != 0) Fail();
  return static_cast<std::uint64_t>(status.st_size);
}

TIFF* TiffOutput::FinishAndReadBack(const TiffMessages& messages) {
  m_Tiff.Close();
  if (!m_Messages.Error("").empty()) Fail();
  // libtiff reads the header where the descriptor stands, and the copy shares the writer's position.
  if (::lseek(m_Output.Descriptor(), 0, SEEK_SET) != 0) Fail();
  // Not memory-mapped: the file may be gigabytes, read once strip by strip.
  TIFF* written = OpenOnCopyOf(m_Output.Descriptor(), m_Name, "rm", messages);
  if (written == nullptr) throw ImageIoError(m_Name + ": cannot read back: " + messages.Error("cannot open"));
  return written;
}

void TiffOutput::Fail() const {
  throw ImageIoError(m_Name + ": cannot write TIFF: " + m_Messages.Error("write failed"));
}

void TiffOutput::Commit() {
  m_Tiff.Close();
  if (!m_Messages.Error("").empty()) Fail();
  try {
    m_Output.Commit();
  } catch (const FileWriteError& error) {
    throw ImageIoError(error.what());
  }
}

}  // namespace xelhost::image_io
