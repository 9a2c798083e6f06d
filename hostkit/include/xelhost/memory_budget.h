// The decoded image data one command may hold at once: its inputs, what it makes from them and what
// it writes, summed before any of it is allocated.
#pragma once

#include <xelhost/framework_types.h>
#include <xelhost/arguments.h>

#include <xelhost/image_io.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace xelhost {

inline constexpr OptionSpec kMaxMemoryOption{"max-memory", true};
inline constexpr const char* kMaxMemoryVariable = "XELIMG_MAX_MEMORY";
inline constexpr std::size_t kDefaultMaxMemory = std::size_t{1} << 30;
// What a refusal for want of memory adds to its message.
extern const char* const kLimitHint;

// Bytes with an optional binary suffix: "1073741824", "512K", "512M", "2G" (K, M, G, T: powers of 1024).
// Throws UsageError naming `source` for anything else, zero included.
std::size_t ParseByteSize(std::string_view source, const std::string& text);

class MemoryBudget {
 public:
  explicit MemoryBudget(std::size_t limit) : m_Limit(limit) {}
  // --max-memory, else the environment variable, else the default.
  static MemoryBudget FromArguments(const Arguments& args);

  std::size_t Limit() const { return m_Limit; }
  std::size_t Available() const { return m_Limit - m_Used; }
  // Limits for reading one file within what is left.
  xelhost::ReadLimits ReadLimits() const { return {Available(), xelhost::kMaxImageFrames}; }
  // Throws CommandError naming `what` when the bytes do not fit in what is left.
  void Reserve(std::size_t bytes, const std::string& what);

 private:
  std::size_t m_Limit;
  std::size_t m_Used = 0;
};

}  // namespace xelhost
