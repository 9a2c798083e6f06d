// A file that appears under its name only once it is complete.
#pragma once

#include <filesystem>

namespace xelfw::image_io {

// Reserves a temporary file beside the target; Commit renames it over the target. Without Commit the
// temporary file is removed, so a failed write leaves neither a partial file nor a changed target.
class AtomicOutput {
 public:
  explicit AtomicOutput(const std::filesystem::path& target);
  ~AtomicOutput();
  AtomicOutput(const AtomicOutput&) = delete;
  AtomicOutput& operator=(const AtomicOutput&) = delete;

  const std::filesystem::path& TempPath() const { return m_Temp; }
  // Throws ImageIoError when the rename fails.
  void Commit();

 private:
  std::filesystem::path m_Target;
  std::filesystem::path m_Temp;
  bool m_Committed = false;
};

}  // namespace xelfw::image_io
