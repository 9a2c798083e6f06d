// The options of one job as a face received them (--name or --name VALUE on the command line, keyword
// arguments in Python) and its operands, for the host kit's checks.
#pragma once

#include <xelhost/framework_types.h>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace xelhost {

struct OptionSpec {
  std::string_view name;  // without the leading dashes
  bool takesValue;
  bool repeatable = false;  // may be given more than once; Values() has them all
};

class Arguments {
 public:
  // Throws UsageError for an option not in specs, a value missing after an option, an option that is
  // not repeatable given twice, or more operands than maxOperands. "--help" is always known.
  Arguments(std::span<const std::string> args, std::span<const OptionSpec> specs, std::size_t maxOperands);

  bool Has(std::string_view option) const { return m_Options.count(std::string(option)) != 0; }
  // The first value of an option.
  std::optional<std::string> Value(std::string_view option) const;
  // Every value of an option in the order given; none when it was not given.
  std::vector<std::string> Values(std::string_view option) const;
  const std::vector<std::string>& Operands() const { return m_Operands; }
  bool WantsHelp() const { return Has("help"); }

 private:
  std::map<std::string, std::vector<std::string>> m_Options;
  std::vector<std::string> m_Operands;
};

// Whole-text number parsing for option values; the option name goes into the error message.
double ParseDoubleOption(std::string_view option, const std::string& text);
unsigned ParseUnsignedOption(std::string_view option, const std::string& text);

}  // namespace xelhost
