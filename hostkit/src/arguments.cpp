// Option values read whole, with their ranges.
#include <xelhost/arguments.h>

#include <xelhost/errors.h>
#include <xelhost/message_text.h>

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace xelhost {

std::optional<std::string> Arguments::Value(std::string_view option) const {
  const auto it = m_Options.find(option);
  if (it == m_Options.end()) return std::nullopt;
  return it->second.front();
}

std::vector<std::string> Arguments::Values(std::string_view option) const {
  const auto it = m_Options.find(option);
  if (it == m_Options.end()) return {};
  return it->second;
}

double ParseDoubleOption(std::string_view option, const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value)) {
    throw UsageError("--" + std::string(option) + ": " + QuoteForMessage(text) + " is not a number");
  }
  return value;
}

unsigned ParseUnsignedOption(std::string_view option, const std::string& text) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    throw UsageError("--" + std::string(option) + ": " + QuoteForMessage(text) + " is not a whole number");
  }
  return value;
}

long ParseIntegerOption(std::string_view option, std::string_view text, long lowest, long highest) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || end != text.data() + text.size() ||
      (error != std::errc() && error != std::errc::result_out_of_range)) {
    throw UsageError("--" + std::string(option) + ": " + QuoteForMessage(text) + " is not a whole number");
  }
  if (error == std::errc::result_out_of_range || value < lowest || value > highest) {
    throw UsageError("--" + std::string(option) + ": " + QuoteForMessage(text) + " lies outside " +
                     std::to_string(lowest) + ".." + std::to_string(highest));
  }
  return value;
}

}  // namespace xelhost
