// Inputs and outputs of a command, checked against each other and the file system before any work.
#include <xelhost/operand_plan.h>

#include <xelhost/errors.h>

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace xelhost {

namespace {

std::filesystem::path FolderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// Empty when files can be made in the folder, else why not.
std::string WhyNotWritable(const std::filesystem::path& folder) {
  struct stat status {};
  if (::stat(folder.c_str(), &status) != 0) return std::strerror(errno);
  if (!S_ISDIR(status.st_mode)) return "not a folder";
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return std::strerror(errno);
  return {};
}

bool MentionsFullDisk(const std::string& message) {
  for (const int error : {ENOSPC, EDQUOT, EROFS}) {
    if (message.find(std::strerror(error)) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

OperandPlan::OperandPlan(const std::vector<std::string>& inputOperands) : m_Inputs(ExpandInputs(inputOperands)) {
  for (std::size_t i = 0; i < m_Inputs.size(); ++i) {
    if (m_Inputs[i].identity) m_InputOf.emplace(*m_Inputs[i].identity, i);
  }
}

void OperandPlan::CheckNotAnInput(const std::filesystem::path& output) const {
  struct stat status {};
  if (::stat(output.c_str(), &status) != 0) return;  // nothing there yet: no input either
  const auto found = m_InputOf.find(FileIdentity{status.st_dev, status.st_ino});
  if (found == m_InputOf.end()) return;
  const std::string& input = m_Inputs[found->second].name;
  throw UsageError(output.string() + ": is also an input" + (input == output.string() ? "" : " (" + input + ")") +
                   "; write somewhere else");
}

void OperandPlan::AddOutputFile(const std::filesystem::path& file) const {
  CheckNotAnInput(file);
  const std::filesystem::path folder = FolderOf(file);
  struct stat status {};
  if (::stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
    throw CommandError(file.string() + ": no such folder " + folder.string());
  }
  if (const std::string why = WhyNotWritable(folder); !why.empty()) {
    throw CommandError(file.string() + ": cannot write in " + folder.string() + ": " + why);
  }
  if (::stat(file.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
    throw CommandError(file.string() + ": is a folder; name a file");
  }
}

void OperandPlan::AddOutputFolder(const std::filesystem::path& folder) const {
  // The folders still to be made are made by the command; the first one that exists must take them.
  std::filesystem::path existing = folder;
  struct stat status {};
  while (::stat(existing.c_str(), &status) != 0 && errno == ENOENT) {
    const std::filesystem::path parent = existing.parent_path();
    if (parent.empty() || parent == existing) {
      existing = ".";
      break;
    }
    existing = parent;
  }
  if (const std::string why = WhyNotWritable(existing); !why.empty()) {
    throw CommandError(folder.string() + ": cannot write in " + existing.string() + ": " + why);
  }
}

std::string LastingOutputFailure(const std::filesystem::path& folder, const std::string& writeError) {
  if (const std::string why = WhyNotWritable(folder); !why.empty()) {
    return folder.string() + ": the output folder cannot be written any more: " + why;
  }
  struct statvfs space {};
  if (::statvfs(folder.c_str(), &space) == 0 && space.f_bavail == 0) {
    return folder.string() + ": the output folder's disk is full";
  }
  if (MentionsFullDisk(writeError)) return writeError;
  return {};
}

}  // namespace xelhost
