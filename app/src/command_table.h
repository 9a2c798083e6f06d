// The commands of xelimg: name, options, help text and the function that runs them.
#pragma once

#include <xelhost/arguments.h>
#include "host_kit.h"

#include <span>
#include <string>
#include <string_view>

namespace xelimg {

struct Command {
  std::string_view name;
  std::string_view synopsis;  // one line for the overview
  std::string_view help;      // what "xelimg NAME --help" prints
  std::span<const OptionSpec> options;
  std::size_t maxOperands;
  int (*run)(const Arguments& args);
};

// Each command lives in its own file.
extern const Command kListCommand;
extern const Command kSettingsCommand;
extern const Command kPseudoCommand;
extern const Command kTemperatureCommand;
extern const Command kInfoCommand;
extern const Command kDemoCommand;
extern const Command kViewCommand;
extern const Command kDialogCommand;

// Finds the command named by args[0], parses the rest with its options and runs it; prints help for
// "--help" (alone: the overview). Throws UsageError for an unknown command.
int RunCommandLine(std::span<const std::string> args);

}  // namespace xelimg
