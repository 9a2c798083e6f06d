#include "options.h"

#include <algorithm>
#include <stdexcept>

namespace xelpy {

xelhost::Arguments OptionArguments(const std::vector<std::string>& options,
                                   std::span<const xelhost::OptionSpec> specs) {
  xelhost::Arguments::OptionValues values;
  for (auto given = options.begin(); given != options.end(); ++given) {
    const std::string name = given->substr(2);
    const auto spec =
        std::find_if(specs.begin(), specs.end(), [&](const xelhost::OptionSpec& s) { return s.name == name; });
    // The module writes these lists itself: an unknown name is a fault of the module, not of the caller.
    if (!given->starts_with("--") || spec == specs.end()) throw std::logic_error("unknown option " + *given);
    std::string value;
    if (spec->takesValue) {
      if (++given == options.end()) throw std::logic_error("no value after --" + name);
      value = *given;
    }
    values[name].push_back(std::move(value));
  }
  return xelhost::Arguments(std::move(values), {});
}

}  // namespace xelpy
