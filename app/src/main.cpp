// xelimg: a command-line host for the XelPseudoColor plug-in.
#include "cli_error.h"
#include "command_table.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return xelimg::RunCommandLine(args);
  } catch (const std::exception& error) {
    std::cerr << "xelimg: " << error.what() << "\n";
    return xelimg::kExitFailure;
  }
}
