// Options every batch command shares: jobs in parallel, compression of written images, progress.
#pragma once

#include <xelhost/arguments.h>
#include <xelhost/frame_inputs.h>
#include "host_kit.h"

#include <xelhost/image_io.h>

#include <array>

namespace xelimg {

struct BatchOptions {
  unsigned jobs = 1;
  xelhost::ImageCompression compression = xelhost::ImageCompression::Default;
  bool quiet = false;  // no progress line
};

inline constexpr std::array<OptionSpec, 3> kBatchOptionSpecs = {
    {{"jobs", true}, {"compression", true}, {"quiet", false}}};

inline constexpr OptionSpec kFramesOption{"frames", true};
inline constexpr OptionSpec kTimeoutOption{"timeout", true};

// --frames N (N >= 1) and --timeout SECONDS (more than 0, at most an hour; default 5). Throws
// UsageError for values out of range.
StreamInputOptions ParseStreamOptions(const Arguments& args);

// --jobs defaults to the processor count. Throws UsageError for values out of range.
BatchOptions ParseBatchOptions(const Arguments& args);

}  // namespace xelimg
