// Options every batch command shares: jobs in parallel, compression of written images, progress.
#pragma once

#include "arguments.h"

#include <xelfw/image_io.h>

#include <array>

namespace xelimg {

struct BatchOptions {
  unsigned jobs = 1;
  xelfw::ImageCompression compression = xelfw::ImageCompression::Default;
  bool quiet = false;  // no progress line
};

inline constexpr std::array<OptionSpec, 3> kBatchOptionSpecs = {{{"jobs", true}, {"compression", true}, {"quiet", false}}};

// --jobs defaults to the processor count. Throws UsageError for values out of range.
BatchOptions ParseBatchOptions(const Arguments& args);

}  // namespace xelimg
