// Temporary-file-and-rename writing, and the signal handler that removes unfinished temporaries.
#include <xelhost/AtomicFile.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

namespace xelhost {

namespace {

// Temporaries in progress, for the signal handler: fixed storage, because a handler may neither
// allocate nor follow pointers that another thread frees.
struct TempSlot {
  std::atomic<int> state{0};  // 0 free, 1 being filled, 2 in use
  char path[PATH_MAX];
};
constexpr int kSlots = 64;
std::array<TempSlot, kSlots> g_Slots;

extern "C" void RemoveTemporariesAndRaise(int signal) {
  for (TempSlot& slot : g_Slots) {
    if (slot.state.load(std::memory_order_acquire) == 2) ::unlink(slot.path);
  }
  // SA_RESETHAND gave the signal its default action back; it ends the process once this returns.
  ::raise(signal);
}

void InstallHandlers() {
  static std::once_flag once;
  std::call_once(once, [] {
    // Every signal whose default action ends the process without a core dump: a closed pipe, a
    // file size limit, timers and the user signals end it as surely as SIGTERM.
    for (const int signal :
         {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF}) {
      struct sigaction current {};
      if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
      struct sigaction action {};
      action.sa_handler = RemoveTemporariesAndRaise;
      sigemptyset(&action.sa_mask);
      action.sa_flags = SA_RESETHAND;
      ::sigaction(signal, &action, nullptr);
    }
  });
}

int Register(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = 0;
    if (g_Slots[i].state.compare_exchange_strong(expected, 1, std::memory_order_acq_rel)) {
      std::memcpy(g_Slots[i].path, path.c_str(), path.size() + 1);
      g_Slots[i].state.store(2, std::memory_order_release);
      return i;
    }
  }
  return -1;  // more writers at once than slots: still written safely, just not cleaned up on a signal
}

void Unregister(int slot) {
  if (slot >= 0) g_Slots[static_cast<std::size_t>(slot)].state.store(0, std::memory_order_release);
}

std::atomic<unsigned> g_Counter{0};

// ".NAME.~PID.N": hidden, unique within this process by the counter and among processes by the pid.
// The target's name is shortened so that the whole fits in a file name.
std::string TempName(const std::string& targetName, const std::string& suffix) {
  return "." + targetName.substr(0, NAME_MAX - 1 - suffix.size()) + suffix;
}

std::string OwnSuffix() { return ".~" + std::to_string(::getpid()) + "." + std::to_string(g_Counter.fetch_add(1)); }

// The ".~PID.N" ending of a temporary's name when the process that made it is gone, else empty.
std::string DeadWritersSuffix(const std::string& name) {
  const std::size_t mark = name.rfind(".~");
  if (name.empty() || name[0] != '.' || mark == std::string::npos || mark == 0) return {};
  const std::string suffix = name.substr(mark);
  const std::size_t dot = suffix.find('.', 2);
  const auto digits = [](std::string_view text) {
    return !text.empty() && text.size() < 10 && text.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (dot == std::string::npos || !digits(std::string_view(suffix).substr(2, dot - 2)) ||
      !digits(std::string_view(suffix).substr(dot + 1))) {
    return {};
  }
  const pid_t pid = static_cast<pid_t>(std::stol(suffix.substr(2, dot - 2)));
  // EPERM: the process lives under another user. Only a process that no longer exists has given up.
  if (pid <= 0 || ::kill(pid, 0) == 0 || errno != ESRCH) return {};
  return suffix;
}

// Temporaries that killed writers (SIGKILL, a power cut) left in each folder, found on the first write
// there, so that a folder of thousands of outputs is read once, not once a file.
class Leftovers {
 public:
  // Removes those that were on their way to the target.
  void RemoveFor(const std::filesystem::path& dir, const std::string& targetName) {
    std::lock_guard lock(m_Mutex);
    auto [found, fresh] = m_ByFolder.try_emplace(dir.string());
    if (fresh) found->second = Scan(dir);
    std::vector<std::string>& names = found->second;
    std::erase_if(names, [&](const std::string& name) {
      const std::string suffix = DeadWritersSuffix(name);
      if (suffix.empty() || name != TempName(targetName, suffix)) return false;
      ::unlink((dir / name).c_str());
      return true;
    });
  }

 private:
  static std::vector<std::string> Scan(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
      std::string name = it->path().filename().string();
      if (!DeadWritersSuffix(name).empty()) names.push_back(std::move(name));
    }
    return names;
  }

  std::mutex m_Mutex;
  std::unordered_map<std::string, std::vector<std::string>> m_ByFolder;
};

Leftovers& LeftoversOfThisProcess() {
  static Leftovers leftovers;
  return leftovers;
}

}  // namespace

AtomicFile::AtomicFile(const std::filesystem::path& target) : m_Target(target) {
  const std::string name = target.filename().string();
  if (name.empty() || name == "." || name == "..") throw FileWriteError(target.string() + ": not a file name");
  const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  InstallHandlers();
  LeftoversOfThisProcess().RemoveFor(dir, name);
  // A replaced file keeps its permissions; a new one gets what the umask leaves of 0666.
  struct stat existing {};
  const bool replacing = ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = dir / TempName(name, OwnSuffix());
    // The slot is taken before the file exists, so there is no moment a signal could miss it.
    const int slot = Register(candidate.string());
    const int fd = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      // Nothing from here on may allocate before the object owns the file, or it would stay behind.
      m_Temp = std::move(candidate);
      m_Fd = fd;
      m_Slot = slot;
      if (replacing && ::fchmod(fd, existing.st_mode & 07777) != 0) Fail("cannot set the permissions of", errno);
      return;
    }
    const int error = errno;
    Unregister(slot);
    if (error != EEXIST) {
      throw FileWriteError(target.string() + ": cannot create a file in " + dir.string() + ": " + std::strerror(error));
    }
  }
  throw FileWriteError(target.string() + ": no free temporary name in " + dir.string());
}

AtomicFile::~AtomicFile() {
  if (!m_Committed) Discard();
}

void AtomicFile::Discard() noexcept {
  if (m_Fd >= 0) ::close(m_Fd);
  m_Fd = -1;
  if (!m_Temp.empty()) ::unlink(m_Temp.c_str());
  Unregister(m_Slot);
  m_Slot = -1;
}

void AtomicFile::Fail(const std::string& step, int error) {
  Discard();
  throw FileWriteError(m_Target.string() + ": " + step + " the file: " + std::strerror(error));
}

void AtomicFile::Write(std::span<const BYTE> bytes) {
  if (m_Fd < 0) throw FileWriteError(m_Target.string() + ": written after it was finished");
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(m_Fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail("cannot write", errno);
    done += static_cast<std::size_t>(n);
  }
}

void AtomicFile::Write(const std::string& text) {
  Write(std::span<const BYTE>(reinterpret_cast<const BYTE*>(text.data()), text.size()));
}

void AtomicFile::Commit() {
  if (m_Fd < 0) throw FileWriteError(m_Target.string() + ": written after it was finished");
  if (::fsync(m_Fd) != 0) Fail("cannot flush", errno);
  const int fd = m_Fd;
  m_Fd = -1;
  if (::close(fd) != 0) Fail("cannot write", errno);
  if (::rename(m_Temp.c_str(), m_Target.c_str()) != 0) Fail("cannot replace", errno);
  m_Committed = true;
  Unregister(m_Slot);
  m_Slot = -1;
}

void WriteFileAtomically(const std::filesystem::path& target, std::span<const BYTE> bytes) {
  AtomicFile file(target);
  file.Write(bytes);
  file.Commit();
}

}  // namespace xelhost
