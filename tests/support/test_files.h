// Scratch directories and small file helpers for the app tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace xelimg_test {

// A fresh directory under the system's temporary directory, removed with everything in it.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& Path() const { return m_Path; }
  std::filesystem::path operator/(const std::string& name) const { return m_Path / name; }
  // Names of the files in the directory, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::filesystem::path m_Path;
};

std::vector<unsigned char> ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::vector<unsigned char>& bytes);
void WriteText(const std::filesystem::path& file, const std::string& text);

}  // namespace xelimg_test
