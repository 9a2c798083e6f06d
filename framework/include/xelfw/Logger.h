// Loggers of the framework: every line is formatted once, then written by the concrete sink.
#pragma once

#include <XelImgProcess/CXelLogger_0.h>

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace xelfw {

// Lines above the threshold are dropped. Thread-safe: objects may log from any thread.
class XEL_HOST_API Logger : public CXelLogger_0 {
 public:
  explicit Logger(UINT threshold = XIP_LOG_PLAIN) : m_Threshold(threshold) {}
  virtual ~Logger() = default;
  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  void LogPrintV(UINT level, const char* format, va_list args) final;
  void SetThreshold(UINT threshold);
  UINT GetThreshold() const;

 protected:
  // Called with the logger's lock held, once per line, without a line end.
  virtual void Write(UINT level, const std::string& line) = 0;

 private:
  mutable std::mutex m_Mutex;
  UINT m_Threshold;
};

// Writes to stderr or to a file it opens for appending.
class XEL_HOST_API StreamLogger final : public Logger {
 public:
  explicit StreamLogger(UINT threshold = XIP_LOG_PLAIN);  // stderr
  // Throws std::runtime_error when the file cannot be opened.
  StreamLogger(const std::filesystem::path& file, UINT threshold);
  ~StreamLogger() override;

 protected:
  void Write(UINT level, const std::string& line) override;

 private:
  std::FILE* m_pFile;
  bool m_OwnsFile;
};

// Keeps the lines, for hosts that show them later and for tests.
class XEL_HOST_API RecordingLogger final : public Logger {
 public:
  struct Line {
    UINT level;
    std::string text;
  };
  explicit RecordingLogger(UINT threshold = ~0u) : Logger(threshold) {}

  std::vector<Line> Lines() const;
  std::vector<std::string> Texts() const;
  bool Contains(const std::string& text) const;
  void Clear();

 protected:
  void Write(UINT level, const std::string& line) override;

 private:
  mutable std::mutex m_LinesMutex;
  std::vector<Line> m_Lines;
};

}  // namespace xelfw
