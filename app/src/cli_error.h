// Failures that end a command: main prints the message as one line on stderr and exits with 2.
#pragma once

#include <stdexcept>

namespace xelimg {

// The command line itself is wrong (unknown option, missing or malformed value).
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file or the plug-in let the command down.
class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr int kExitOk = 0;
// The work was done and written, but something in it deserves a look (warned about on stderr).
inline constexpr int kExitWarning = 1;
inline constexpr int kExitFailure = 2;

}  // namespace xelimg
