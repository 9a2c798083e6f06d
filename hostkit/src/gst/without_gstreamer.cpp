// Streams in a framework built without GStreamer: refused, saying why.
#include <xelhost/GstFrameSource.h>

namespace xelhost {

bool StreamsAvailable() { return false; }

struct StreamFrameSource::Pipeline {};

StreamFrameSource::StreamFrameSource(const std::string& operand, const StreamOptions&) {
  throw StreamError(operand + ": this build has no video streams (built without GStreamer)");
}

StreamFrameSource::~StreamFrameSource() = default;

std::optional<Image> StreamFrameSource::Next() { return std::nullopt; }

std::optional<FrameRate> StreamFrameSource::Rate() const { return std::nullopt; }
std::optional<double> StreamFrameSource::LastTime() const { return std::nullopt; }

}  // namespace xelhost
