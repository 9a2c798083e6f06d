// The one way the project writes a file: complete under its name, or not at all.
#pragma once

#include <XelImgProcess/XelTypes.h>
#include <xelhost/framework_types.h>

#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>

namespace xelhost {

// A file that could not be written; the message names the file and the first reason.
class XEL_HOST_API FileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes go to a temporary file ".NAME.~PID.N" beside the target, created exclusively under a name no
// one else uses (an existing file or symlink of that name is never opened), bounded so that a target
// name of the longest allowed length still has room for it. A new file gets the usual permissions
// (0666 less the umask), a replaced file keeps its own. Commit flushes the data to the disk and
// renames the temporary over the target; without Commit the temporary goes away with the object.
// Until then a signal that ends the process (SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ, SIGUSR1,
// SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF) removes it before the process ends as the signal would have
// ended it (handlers are installed only where the signal still has its default action). What a
// writer killed outright (SIGKILL) left for the same target is removed by the next writer of that
// target, once the process named in it no longer exists.
class XEL_HOST_API AtomicFile {
 public:
  // Throws FileWriteError when no temporary file can be made beside the target.
  explicit AtomicFile(const std::filesystem::path& target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  const std::filesystem::path& Target() const { return m_Target; }
  const std::filesystem::path& TempPath() const { return m_Temp; }
  // The temporary file's descriptor, open for reading and writing (libtiff reads back what it wrote);
  // dup it to hand it over for good.
  int Descriptor() const { return m_Fd; }
  // Throws FileWriteError.
  void Write(std::span<const BYTE> bytes);
  void Write(const std::string& text);
  // Throws FileWriteError naming the first step that failed; the target is then as it was.
  void Commit();

 private:
  [[noreturn]] void Fail(const std::string& step, int error);
  void Discard() noexcept;

  std::filesystem::path m_Target;
  std::filesystem::path m_Temp;
  int m_Fd = -1;
  int m_Slot = -1;  // in the table the signal handler cleans up
  bool m_Committed = false;
};

// The whole file in one go.
XEL_HOST_API void WriteFileAtomically(const std::filesystem::path& target, std::span<const BYTE> bytes);

}  // namespace xelhost
