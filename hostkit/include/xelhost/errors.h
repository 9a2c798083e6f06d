// Failures that end a host's job. A face turns them into its own form: xelimg one line on stderr
// and exit status 2, Python an exception.
#pragma once

#include <xelhost/framework_types.h>
#include <stdexcept>

namespace xelhost {

// The command line itself is wrong (unknown option, missing or malformed value).
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file or the plug-in let the job down.
class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace xelhost
