// A connect, not an X handshake: enough to tell a display that is there from one that is not.
#include "display_probe.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstring>

namespace winui::core {

namespace {

// Connects without blocking and waits at most timeoutMs for the connection to open.
bool ConnectWithin(int family, const sockaddr* address, socklen_t length, int timeoutMs, std::string* why) {
  const int fd = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    *why = std::strerror(errno);
    return false;
  }
  int result = ::connect(fd, address, length);
  if (result != 0 && errno == EINPROGRESS) {
    pollfd waiting{fd, POLLOUT, 0};
    result = ::poll(&waiting, 1, timeoutMs);
    if (result == 0) {
      *why = "no answer within " + std::to_string(timeoutMs / 1000) + " s";
      ::close(fd);
      return false;
    }
    int error = 0;
    socklen_t size = sizeof error;
    if (result > 0 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0) errno = error;
    result = result > 0 && error == 0 ? 0 : -1;
  }
  if (result != 0) *why = std::strerror(errno);
  ::close(fd);
  return result == 0;
}

bool LocalDisplayAnswers(unsigned number, int timeoutMs, std::string* why) {
  const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
  // The abstract socket of the same name first, as Xlib tries it, then the file.
  for (const bool abstract : {true, false}) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + (abstract ? 1 : 0), path.c_str(), path.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + (abstract ? 1 : 0));
    if (ConnectWithin(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), length, timeoutMs, why)) return true;
  }
  return false;
}

bool RemoteDisplayAnswers(const std::string& host, unsigned number, int timeoutMs, std::string* why) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string port = std::to_string(6000 + number);
  if (const int error = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found); error != 0) {
    *why = ::gai_strerror(error);
    return false;
  }
  bool answered = false;
  for (const addrinfo* a = found; a != nullptr && !answered; a = a->ai_next) {
    answered = ConnectWithin(a->ai_family, a->ai_addr, a->ai_addrlen, timeoutMs, why);
  }
  ::freeaddrinfo(found);
  return answered;
}

}  // namespace

bool DisplayAnswers(const std::string& display, int timeoutMs, std::string* why) {
  // [protocol/][host]:number[.screen]
  std::string name = display;
  if (const std::size_t slash = name.find('/'); slash != std::string::npos) name = name.substr(slash + 1);
  const std::size_t colon = name.rfind(':');
  unsigned number = 0;
  if (colon == std::string::npos ||
      std::from_chars(name.data() + colon + 1, name.data() + name.size(), number).ec != std::errc()) {
    *why = "not a display name";
    return false;
  }
  const std::string host = name.substr(0, colon);
  if (host.empty() || host == "unix") return LocalDisplayAnswers(number, timeoutMs, why);
  return RemoteDisplayAnswers(host, number, timeoutMs, why);
}

}  // namespace winui::core
