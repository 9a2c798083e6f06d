// The command's memory limit from its option or the environment, and what it has reserved.
#include <xelhost/framework_types.h>
#include <xelhost/memory_budget.h>

#include <xelhost/errors.h>

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <limits>

namespace xelhost {

namespace {

// Whole units where they are exact enough to compare: "40000 bytes", "512 KiB", "1024 MiB".
std::string SizeText(std::size_t bytes) {
  if (bytes % (1u << 20) == 0 && bytes != 0) return std::to_string(bytes >> 20) + " MiB";
  if (bytes % (1u << 10) == 0 && bytes != 0) return std::to_string(bytes >> 10) + " KiB";
  if (bytes >= (std::size_t{10} << 20)) return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MiB";
  return std::to_string(bytes) + " bytes";
}

}  // namespace

std::size_t ParseByteSize(std::string_view source, const std::string& text) {
  const auto fail = [&] {
    throw UsageError(std::string(source) + ": '" + text + "' is not a size (bytes, or a number with K, M, G or T)");
  };
  std::size_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || value == 0) fail();
  std::string_view suffix(end, static_cast<std::size_t>(text.data() + text.size() - end));
  if (!suffix.empty() && (suffix.back() == 'B' || suffix.back() == 'b')) suffix.remove_suffix(1);
  if (suffix.size() == 2 && (suffix.back() == 'i' || suffix.back() == 'I')) suffix.remove_suffix(1);  // "MiB"
  unsigned shift = 0;
  if (suffix.size() == 1) {
    const std::string_view units = "KMGT";
    const std::size_t index = units.find(static_cast<char>(std::toupper(static_cast<unsigned char>(suffix[0]))));
    if (index == std::string_view::npos) fail();
    shift = 10 * static_cast<unsigned>(index + 1);
  } else if (!suffix.empty()) {
    fail();
  }
  if (value > (std::numeric_limits<std::size_t>::max() >> shift)) fail();
  return value << shift;
}

MemoryBudget MemoryBudget::FromArguments(const Arguments& args) {
  if (const auto text = args.Value(kMaxMemoryOption.name)) return MemoryBudget(ParseByteSize("--max-memory", *text));
  if (const char* text = std::getenv(kMaxMemoryVariable); text != nullptr && text[0] != '\0') {
    return MemoryBudget(ParseByteSize(kMaxMemoryVariable, text));
  }
  return MemoryBudget(kDefaultMaxMemory);
}

const char* const kLimitHint = "--max-memory or XELIMG_MAX_MEMORY raise the limit";

void MemoryBudget::Reserve(std::size_t bytes, const std::string& what) {
  if (bytes > Available()) {
    throw CommandError(what + " needs " + SizeText(bytes) + ", more than the " + SizeText(Available()) + " left of " +
                       SizeText(m_Limit) + " (" + kLimitHint + ")");
  }
  m_Used += bytes;
}

}  // namespace xelhost
