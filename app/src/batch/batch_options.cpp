// Parsing of the batch options.
#include "batch/batch_options.h"
#include "host_kit.h"

#include <xelhost/errors.h>
#include <xelhost/message_text.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <thread>

namespace xelimg {

StreamInputOptions ParseStreamOptions(const Arguments& args) {
  StreamInputOptions options;
  if (const auto text = args.Value("frames")) {
    options.frames = ParseUnsignedOption("frames", *text);
    if (*options.frames == 0) throw UsageError("--frames must be at least 1");
  }
  if (const auto text = args.Value("timeout")) {
    double seconds = 0.0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), seconds);
    if (error != std::errc{} || end != text->data() + text->size() || !std::isfinite(seconds) || seconds <= 0.0 ||
        seconds > 3600.0) {
      throw UsageError("--timeout: " + QuoteForMessage(*text) + " is not a number of seconds above 0 and at most 3600");
    }
    options.source.timeout = std::chrono::milliseconds(std::max(1L, std::lround(seconds * 1000.0)));
  }
  return options;
}

BatchOptions ParseBatchOptions(const Arguments& args) {
  BatchOptions options;
  options.jobs = std::max(1u, std::thread::hardware_concurrency());
  if (const auto text = args.Value("jobs")) {
    options.jobs = ParseUnsignedOption("jobs", *text);
    if (options.jobs == 0 || options.jobs > 256) throw UsageError("--jobs must be 1 to 256");
  }
  if (const auto text = args.Value("compression")) {
    if (*text == "fast") {
      options.compression = xelhost::ImageCompression::Fast;
    } else if (*text == "small") {
      options.compression = xelhost::ImageCompression::Small;
    } else {
      throw UsageError("--compression: " + QuoteForMessage(*text) + " is neither fast nor small");
    }
  }
  options.quiet = args.Has("quiet");
  return options;
}

}  // namespace xelimg
