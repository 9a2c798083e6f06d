// Logger as processing objects see it: printf-style lines with a detail level.
#pragma once

#include <XelImgProcess/XelTypes.h>

#include <cstdarg>

// Level 0 is a plain line (failures, entry and exit); higher levels are ever finer detail. A logger
// writes a line when its level does not exceed the logger's own threshold.
inline constexpr UINT XIP_LOG_PLAIN = 0;
inline constexpr UINT XIP_LOG_DETAIL = 1;

class XEL_HOST_API CXelLogger_0 {
 public:
  virtual void LogPrintV(UINT level, const char* format, va_list args) = 0;

  __attribute__((format(printf, 2, 3))) void LogPrint(const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogPrintV(XIP_LOG_PLAIN, format, args);
    va_end(args);
  }
  __attribute__((format(printf, 3, 4))) void LogPrintLevel(UINT level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogPrintV(level, format, args);
    va_end(args);
  }

 protected:
  ~CXelLogger_0() = default;
};
