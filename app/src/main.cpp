// xelimg: a command-line host for the XelPseudoColor plug-in.
#include "exit_status.h"
#include <xelhost/errors.h>
#include "command_table.h"
#include <xelhost/memory_budget.h>

#include <xelhost/image_io.h>

#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return xelimg::RunCommandLine(args);
  } catch (const std::bad_alloc&) {
    // Before anything large is allocated the command has checked it against its limit, so this is a
    // machine that has less memory than the limit allows.
    std::cerr << "xelimg: out of memory (lower --max-memory or XELIMG_MAX_MEMORY to refuse such inputs early)\n";
    return xelimg::kExitFailure;
  } catch (const xelhost::ImageLimitError& error) {
    std::cerr << "xelimg: " << error.what() << " (" << xelimg::kLimitHint << ")\n";
    return xelimg::kExitFailure;
  } catch (const std::exception& error) {
    std::cerr << "xelimg: " << error.what() << "\n";
    return xelimg::kExitFailure;
  }
}
