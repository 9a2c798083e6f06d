// xelimg: a command-line host for the XelPseudoColor plug-in.
#include <xelhost/errors.h>
#include <xelhost/memory_budget.h>
#include <xelhost/message_text.h>
#include "command_table.h"
#include "exit_status.h"

#include <xelhost/image_io.h>

#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

namespace {

// Messages quote what they echo; this keeps any other text a file or an argument slipped into one
// from reaching the terminal raw or flooding it.
constexpr std::size_t kMessageBytes = 4096;

std::string Printable(const char* message) { return xelhost::PrintableText(message, kMessageBytes); }

}  // namespace

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
    std::cerr << "xelimg: " << Printable(error.what()) << " (" << xelimg::kLimitHint << ")\n";
    return xelimg::kExitFailure;
  } catch (const std::exception& error) {
    std::cerr << "xelimg: " << Printable(error.what()) << "\n";
    return xelimg::kExitFailure;
  }
}
