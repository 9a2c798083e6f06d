// Dispatch from the first argument to a command.
#include "command_table.h"
#include "host_kit.h"

#include <xelhost/errors.h>
#include <xelhost/message_text.h>
#include "command_line.h"
#include "exit_status.h"

#include <array>
#include <iostream>

namespace xelimg {

namespace {

constexpr std::array<const Command*, 8> kCommands = {&kListCommand,        &kSettingsCommand, &kPseudoCommand,
                                                     &kTemperatureCommand, &kInfoCommand,     &kDemoCommand,
                                                     &kViewCommand,        &kDialogCommand};

void PrintOverview() {
  std::cout << "usage: xelimg COMMAND [ARGUMENTS] [--plugin PATH]\n"
               "       xelimg --help | --version\n"
               "\n"
               "A command-line and live host for the XelPseudoColor plug-in: greyscale (thermal) images\n"
               "to pseudo colour, temperature readings, settings, dialogs and a viewer.\n"
               "\ncommands:\n";
  for (const Command* command : kCommands) std::cout << "  " << command->synopsis << "\n";
  std::cout << "\n\"xelimg COMMAND --help\" describes a command.\n";
}

}  // namespace

int RunCommandLine(std::span<const std::string> args) {
  if (args.empty()) throw UsageError("no command given (try 'xelimg --help')");
  if (args[0] == "--help" || args[0] == "help") {
    PrintOverview();
    return kExitOk;
  }
  if (args[0] == "--version") {
    std::cout << "xelimg " XELIMG_VERSION "\n";
    return kExitOk;
  }
  for (const Command* command : kCommands) {
    if (command->name != args[0]) continue;
    const Arguments parsed = ParseArguments(args.subspan(1), command->options, command->maxOperands);
    if (parsed.WantsHelp()) {
      std::cout << command->help;
      return kExitOk;
    }
    return command->run(parsed);
  }
  throw UsageError("unknown command " + QuoteForMessage(args[0]) + " (try 'xelimg --help')");
}

}  // namespace xelimg
