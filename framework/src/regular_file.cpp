// Regular files only: a directory, device or FIFO given where a file belongs is refused at once.
#include <xelfw/RegularFile.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace xelfw {

namespace {

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISFIFO(mode)) return "a pipe";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

}  // namespace

int OpenRegularFile(const std::filesystem::path& file, std::uint64_t& size, std::string& why) {
  // O_NONBLOCK: opening a FIFO without a writer would otherwise wait forever before it can be refused.
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    why = std::strerror(errno);
    return -1;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    why = S_ISREG(info.st_mode) ? std::strerror(errno) : KindOf(info.st_mode);
    ::close(fd);
    return -1;
  }
  size = static_cast<std::uint64_t>(info.st_size);
  return fd;
}

}  // namespace xelfw
