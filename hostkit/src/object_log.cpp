// Listening to the object's log.
#include <xelhost/framework_types.h>
#include <xelhost/object_log.h>

#include <cstdio>

namespace xelhost {

namespace {

// What the object logs when a continuous auto mode finds no window; the line before it, when the
// object gave one, says why.
constexpr std::string_view kNoWindow = "Error: could not perform auto";

// "Class::Operation: why", as the object words a failure; its constructor's and destructor's lines
// name themselves only.
bool IsFailureLine(std::string_view line) {
  const std::size_t scope = line.find("::");
  return scope != std::string_view::npos && line.find(": ", scope) != std::string_view::npos;
}

}  // namespace

ObjectLog::ObjectLog(bool echo) : xelfw::Logger(echo ? XIP_LOG_DETAIL : XIP_LOG_PLAIN), m_Echo(echo) {}

std::optional<std::string> ObjectLog::TakeWindowFailure() {
  std::optional<std::string> failure;
  failure.swap(m_WindowFailure);
  m_LastFailure.clear();
  return failure;
}

void ObjectLog::Write(UINT level, const std::string& line) {
  if (m_Echo) std::fprintf(stderr, "%s\n", line.c_str());
  if (level != XIP_LOG_PLAIN) return;
  if (line.starts_with("Entering ")) {
    m_LastFailure.clear();
  } else if (line.starts_with(kNoWindow)) {
    m_WindowFailure = m_LastFailure.empty() ? line : m_LastFailure;
  } else if (IsFailureLine(line)) {
    m_LastFailure = line;
  }
}

}  // namespace xelhost
