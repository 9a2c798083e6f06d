// A command's arguments read with getopt_long against its option table.
#pragma once

#include <xelhost/arguments.h>
#include "host_kit.h"

#include <cstddef>
#include <span>
#include <string>

namespace xelimg {

// "--name VALUE" and "--name=VALUE", options before, between or after the operands, "--" ending the
// options, "-" an operand. Throws UsageError, before anything is read or created, for an option not
// in specs (of either form, "-q" as much as "--colour"; abbreviations are not taken), a value missing
// after an option or given to one that takes none, an option that is not repeatable given twice, or
// more operands than maxOperands. "--help" is always known.
Arguments ParseArguments(std::span<const std::string> args, std::span<const OptionSpec> specs, std::size_t maxOperands);

}  // namespace xelimg
