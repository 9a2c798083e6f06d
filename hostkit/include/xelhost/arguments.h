// The options of one job as a face received them (--name, --name VALUE or --name=VALUE on the command
// line, keyword arguments in Python) and its operands, for the host kit's checks. The face parses; the
// kit reads.
#pragma once

#include <xelhost/framework_types.h>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xelhost {

struct OptionSpec {
  std::string_view name;  // without the leading dashes
  bool takesValue;
  bool repeatable = false;  // may be given more than once; Values() has them all
};

class Arguments {
 public:
  using OptionValues = std::map<std::string, std::vector<std::string>, std::less<>>;

  // options: each given option by name (without dashes) with its values in the order given, an empty
  // value for an option that takes none.
  Arguments(OptionValues options, std::vector<std::string> operands)
      : m_Options(std::move(options)), m_Operands(std::move(operands)) {}

  bool Has(std::string_view option) const { return m_Options.find(option) != m_Options.end(); }
  // The first value of an option.
  std::optional<std::string> Value(std::string_view option) const;
  // Every value of an option in the order given; none when it was not given.
  std::vector<std::string> Values(std::string_view option) const;
  const std::vector<std::string>& Operands() const { return m_Operands; }
  bool WantsHelp() const { return Has("help"); }

 private:
  OptionValues m_Options;
  std::vector<std::string> m_Operands;
};

// Whole-text number parsing for option values; the option name goes into the error message. A whole
// number must fit its type: nothing wraps round.
double ParseDoubleOption(std::string_view option, const std::string& text);
unsigned ParseUnsignedOption(std::string_view option, const std::string& text);
long ParseIntegerOption(std::string_view option, std::string_view text, long lowest, long highest);

}  // namespace xelhost
