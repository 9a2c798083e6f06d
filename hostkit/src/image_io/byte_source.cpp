// Memory and file byte sources for the decoders.
#include "image_io/byte_source.h"
#include <xelfw/RegularFile.h>

#include <xelhost/image_io.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace xelhost::image_io {

namespace {

constexpr std::size_t kReadAhead = 64 * 1024;

}  // namespace

std::size_t MemorySource::Read(void* out, std::size_t count) {
  if (m_Pos >= m_Bytes.size()) return 0;
  const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, m_Bytes.size() - m_Pos));
  std::memcpy(out, m_Bytes.data() + m_Pos, n);
  m_Pos += n;
  return n;
}

FileSource::FileSource(const std::filesystem::path& file) : ByteSource(file.string()) {
  std::string why;
  m_Fd = OpenRegularFile(file, m_Size, why);
  if (m_Fd < 0) throw ImageIoError(Name() + ": cannot read: " + why);
}

FileSource::~FileSource() { ::close(m_Fd); }

void FileSource::Seek(std::uint64_t position) { m_Pos = position; }

std::size_t FileSource::Read(void* out, std::size_t count) {
  auto* target = static_cast<BYTE*>(out);
  std::size_t done = 0;
  while (done < count && m_Pos < m_Size) {
    const bool buffered = m_Pos >= m_BufferStart && m_Pos < m_BufferStart + m_Buffer.size();
    if (!buffered) {
      // Large reads go straight to the caller; small ones fill the buffer first.
      if (count - done >= kReadAhead) {
        const ssize_t n = ::pread(m_Fd, target + done, count - done, static_cast<off_t>(m_Pos));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw ImageIoError(Name() + ": cannot read: " + std::strerror(errno));
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
        m_Pos += static_cast<std::uint64_t>(n);
        continue;
      }
      m_Buffer.resize(kReadAhead);
      ssize_t n = 0;
      do {
        n = ::pread(m_Fd, m_Buffer.data(), m_Buffer.size(), static_cast<off_t>(m_Pos));
      } while (n < 0 && errno == EINTR);
      if (n < 0) {
        m_Buffer.clear();
        throw ImageIoError(Name() + ": cannot read: " + std::strerror(errno));
      }
      m_Buffer.resize(static_cast<std::size_t>(n));
      m_BufferStart = m_Pos;
      if (n == 0) break;
    }
    const std::size_t offset = static_cast<std::size_t>(m_Pos - m_BufferStart);
    const std::size_t n = std::min(count - done, m_Buffer.size() - offset);
    std::memcpy(target + done, m_Buffer.data() + offset, n);
    done += n;
    m_Pos += n;
  }
  return done;
}

}  // namespace xelhost::image_io
