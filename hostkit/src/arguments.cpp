// Option parsing shared by every command.
#include <xelhost/framework_types.h>
#include <xelhost/arguments.h>

#include <xelhost/errors.h>

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace xelhost {

Arguments::Arguments(std::span<const std::string> args, std::span<const OptionSpec> specs, std::size_t maxOperands) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      // A lone "-" or a negative number is an operand, as for most tools.
      m_Operands.push_back(arg);
      continue;
    }
    const std::string name = arg.substr(2);
    const OptionSpec* spec = nullptr;
    for (const OptionSpec& candidate : specs) {
      if (candidate.name == name) spec = &candidate;
    }
    if (spec == nullptr && name != "help") throw UsageError("unknown option '" + arg + "'");
    if (m_Options.count(name) != 0 && (spec == nullptr || !spec->repeatable)) {
      throw UsageError("option '" + arg + "' given twice");
    }
    if (spec != nullptr && spec->takesValue) {
      if (i + 1 >= args.size()) throw UsageError("option '" + arg + "' needs a value");
      m_Options[name].push_back(args[++i]);
    } else {
      m_Options[name].push_back("");
    }
  }
  if (!WantsHelp() && m_Operands.size() > maxOperands) {
    throw UsageError("unexpected argument '" + m_Operands[maxOperands] + "'");
  }
}

std::optional<std::string> Arguments::Value(std::string_view option) const {
  const auto it = m_Options.find(std::string(option));
  if (it == m_Options.end()) return std::nullopt;
  return it->second.front();
}

std::vector<std::string> Arguments::Values(std::string_view option) const {
  const auto it = m_Options.find(std::string(option));
  if (it == m_Options.end()) return {};
  return it->second;
}

double ParseDoubleOption(std::string_view option, const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value)) {
    throw UsageError("--" + std::string(option) + ": '" + text + "' is not a number");
  }
  return value;
}

unsigned ParseUnsignedOption(std::string_view option, const std::string& text) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    throw UsageError("--" + std::string(option) + ": '" + text + "' is not a whole number");
  }
  return value;
}

}  // namespace xelhost
