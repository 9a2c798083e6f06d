#include "temperature/bounded_text.h"

#include <cstdarg>
#include <cstdio>

UINT CopyBoundedText(char* buffer, UINT size, const char* text) { return FormatBoundedText(buffer, size, "%s", text); }

UINT FormatBoundedText(char* buffer, UINT size, const char* format, ...) {
  if (buffer == nullptr || size == 0) return 0;
  va_list args;
  va_start(args, format);
  const int wanted = std::vsnprintf(buffer, size, format, args);
  va_end(args);
  if (wanted < 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(wanted) < size ? static_cast<UINT>(wanted) : size - 1;
}
