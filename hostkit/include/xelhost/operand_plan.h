// What a command reads and what it writes, resolved once before any work, so that no run spends its
// time on frames it could never write, or writes over what it reads.
#pragma once

#include <xelhost/frame_inputs.h>
#include <xelhost/framework_types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace xelhost {

class OperandPlan {
 public:
  // Expands the input operands (see ExpandInputs: special files are refused before any is opened).
  explicit OperandPlan(const std::vector<std::string>& inputOperands);

  const std::vector<InputFile>& Inputs() const { return m_Inputs; }

  // A file the command will replace. Throws UsageError when it is one of the inputs, CommandError
  // when its folder is missing, is not a folder or cannot be written in.
  void AddOutputFile(const std::filesystem::path& file) const;
  // A folder the command will write into, made when missing: then the nearest folder above it that
  // exists must be writable. Throws CommandError.
  void AddOutputFolder(const std::filesystem::path& folder) const;
  // Throws UsageError when writing the file would replace an input: the same file by device and
  // inode, whatever path, symlink or hard link names it. Takes the same time for any number of inputs.
  void CheckNotAnInput(const std::filesystem::path& output) const;

 private:
  struct IdentityHash {
    std::size_t operator()(const FileIdentity& id) const noexcept {
      return std::hash<unsigned long long>{}(static_cast<unsigned long long>(id.inode) * 31u +
                                             static_cast<unsigned long long>(id.device));
    }
  };

  std::vector<InputFile> m_Inputs;
  std::unordered_map<FileIdentity, std::size_t, IdentityHash> m_InputOf;  // identity to input index
};

// Why every later write into the folder would fail as well: it is gone or no longer a folder, it
// cannot be written in, or its file system is full (also when the failed write's message says so,
// as a full disk may free a little space when the temporary is removed). Empty when the failure may
// be the frame's own, so the batch can go on.
std::string LastingOutputFailure(const std::filesystem::path& folder, const std::string& writeError);

}  // namespace xelhost
