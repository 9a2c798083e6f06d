// Temporary-file-and-rename writing for image files.
#include "image_io/atomic_output.h"

#include <xelfw/image_io.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

namespace xelfw::image_io {

namespace {

std::atomic<unsigned> g_TempCounter{0};

}  // namespace

AtomicOutput::AtomicOutput(const std::filesystem::path& target) : m_Target(target) {
  if (target.filename().empty()) throw ImageIoError(target.string() + ": not a file name");
  const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  // O_EXCL with a per-process counter: two writers never share a temporary file, and the final file
  // gets the usual permissions (mkstemp would leave it readable by its owner only).
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = "." + target.filename().string() + ".tmp." + std::to_string(::getpid()) + "." +
                             std::to_string(g_TempCounter.fetch_add(1));
    const std::filesystem::path candidate = dir / name;
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      m_Temp = candidate;
      return;
    }
    if (errno != EEXIST) {
      throw ImageIoError(target.string() + ": cannot create a file in " + dir.string() + ": " + std::strerror(errno));
    }
  }
  throw ImageIoError(target.string() + ": no free temporary name in " + dir.string());
}

AtomicOutput::~AtomicOutput() {
  if (!m_Committed) {
    std::error_code ignored;
    std::filesystem::remove(m_Temp, ignored);
  }
}

void AtomicOutput::Commit() {
  if (std::rename(m_Temp.c_str(), m_Target.c_str()) != 0) {
    throw ImageIoError(m_Target.string() + ": cannot replace the file: " + std::strerror(errno));
  }
  m_Committed = true;
}

}  // namespace xelfw::image_io
