// The start of an X handshake: enough to tell a display that is there from one that is not.
#include "display_probe.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstddef>
#include <cstring>

namespace winui::core {

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

bool WaitFor(int fd, short events, Clock::time_point deadline) {
  pollfd waiting{fd, events, 0};
  int result = 0;
  do {
    result = ::poll(&waiting, 1, MillisecondsLeft(deadline));
  } while (result < 0 && errno == EINTR);
  return result > 0;
}

// Connects without blocking, sends the X connection set-up and waits for the server's first reply
// byte: a host that accepts connections but never answers (a tunnel to nowhere) counts as absent.
// Whether the server lets us in does not matter here; the display library says that itself, at once.
bool ServerAnswers(int family, const sockaddr* address, socklen_t length, int timeoutMs, std::string* why) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  const int fd = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    *why = std::strerror(errno);
    return false;
  }
  const auto fail = [&](const std::string& reason) {
    *why = reason;
    ::close(fd);
    return false;
  };
  const std::string silence = "no answer within " + std::to_string(timeoutMs / 1000) + " s";
  if (::connect(fd, address, length) != 0) {
    if (errno != EINPROGRESS) return fail(std::strerror(errno));
    if (!WaitFor(fd, POLLOUT, deadline)) return fail(silence);
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) return fail(std::strerror(error));
  }
  // Little-endian client, protocol 11.0, no authorisation.
  const unsigned char setup[12] = {'l', 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  if (::send(fd, setup, sizeof setup, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof setup)) {
    return fail(std::strerror(errno));
  }
  unsigned char reply = 0;
  if (!WaitFor(fd, POLLIN, deadline) || ::recv(fd, &reply, 1, 0) != 1) return fail(silence);
  ::close(fd);
  return true;
}

bool LocalDisplayAnswers(unsigned number, int timeoutMs, std::string* why) {
  const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
  // The abstract socket of the same name first, as Xlib tries it, then the file.
  for (const bool abstract : {true, false}) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + (abstract ? 1 : 0), path.c_str(), path.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + (abstract ? 1 : 0));
    if (ServerAnswers(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), length, timeoutMs, why)) return true;
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
    answered = ServerAnswers(a->ai_family, a->ai_addr, a->ai_addrlen, timeoutMs, why);
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
