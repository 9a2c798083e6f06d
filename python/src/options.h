// Keyword arguments reach the host kit's checks as the options xelimg would have been given, so
// both faces refuse and accept the same values with the same words.
#pragma once

#include <xelhost/arguments.h>

#include <span>
#include <string>
#include <vector>

namespace xelpy {

// options: "--name", then its value where the option takes one, as the module writes them.
xelhost::Arguments OptionArguments(const std::vector<std::string>& options, std::span<const xelhost::OptionSpec> specs);

}  // namespace xelpy
