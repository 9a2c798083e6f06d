// Formatting and sinks of the framework's loggers.
#include <xelfw/Logger.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace xelfw {

void Logger::LogPrintV(UINT level, const char* format, va_list args) {
  if (format == nullptr) return;
  std::lock_guard lock(m_Mutex);
  if (level > m_Threshold) return;
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length < 0) return;
  std::string line(static_cast<std::size_t>(length) + 1, '\0');
  std::vsnprintf(line.data(), line.size(), format, args);
  line.pop_back();
  Write(level, line);
}

void Logger::SetThreshold(UINT threshold) {
  std::lock_guard lock(m_Mutex);
  m_Threshold = threshold;
}

UINT Logger::GetThreshold() const {
  std::lock_guard lock(m_Mutex);
  return m_Threshold;
}

StreamLogger::StreamLogger(UINT threshold) : Logger(threshold), m_pFile(stderr), m_OwnsFile(false) {}

StreamLogger::StreamLogger(const std::filesystem::path& file, UINT threshold)
    : Logger(threshold), m_pFile(std::fopen(file.c_str(), "a")), m_OwnsFile(true) {
  if (m_pFile == nullptr) {
    throw std::runtime_error("cannot open log file '" + file.string() + "': " + std::strerror(errno));
  }
}

StreamLogger::~StreamLogger() {
  if (m_OwnsFile) std::fclose(m_pFile);
}

void StreamLogger::Write(UINT, const std::string& line) {
  std::fputs(line.c_str(), m_pFile);
  std::fputc('\n', m_pFile);
  std::fflush(m_pFile);
}

void RecordingLogger::Write(UINT level, const std::string& line) {
  std::lock_guard lock(m_LinesMutex);
  m_Lines.push_back({level, line});
}

std::vector<RecordingLogger::Line> RecordingLogger::Lines() const {
  std::lock_guard lock(m_LinesMutex);
  return m_Lines;
}

std::vector<std::string> RecordingLogger::Texts() const {
  std::vector<std::string> texts;
  for (const Line& line : Lines()) texts.push_back(line.text);
  return texts;
}

bool RecordingLogger::Contains(const std::string& text) const {
  const std::vector<std::string> texts = Texts();
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

void RecordingLogger::Clear() {
  std::lock_guard lock(m_LinesMutex);
  m_Lines.clear();
}

}  // namespace xelfw
