// Parsing of the batch options.
#include "batch/batch_options.h"

#include "cli_error.h"

#include <algorithm>
#include <thread>

namespace xelimg {

BatchOptions ParseBatchOptions(const Arguments& args) {
  BatchOptions options;
  options.jobs = std::max(1u, std::thread::hardware_concurrency());
  if (const auto text = args.Value("jobs")) {
    options.jobs = ParseUnsignedOption("jobs", *text);
    if (options.jobs == 0 || options.jobs > 256) throw UsageError("--jobs must be 1 to 256");
  }
  if (const auto text = args.Value("compression")) {
    if (*text == "fast") {
      options.compression = xelfw::ImageCompression::Fast;
    } else if (*text == "small") {
      options.compression = xelfw::ImageCompression::Small;
    } else {
      throw UsageError("--compression: '" + *text + "' is neither fast nor small");
    }
  }
  options.quiet = args.Has("quiet");
  return options;
}

}  // namespace xelimg
