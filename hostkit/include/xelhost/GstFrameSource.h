// Live and recorded video as greyscale frames: a GStreamer pipeline or a V4L2 device.
#pragma once

#include <xelfw/Image.h>
#include <xelhost/frame_rate.h>
#include <xelhost/framework_types.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace xelhost {

// Why a stream gave no frame: the message names the element that failed.
class XEL_HOST_API StreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct StreamOptions {
  // Live viewing keeps only the newest frame and drops the rest when processing falls behind;
  // otherwise every frame is delivered and the source waits for the reader.
  bool dropLate = false;
  // No frame for this long means the source has stalled.
  std::chrono::milliseconds timeout{5000};
  // Frames larger than this many bytes are refused when their caps are negotiated, before GStreamer
  // allocates one; 0 for no limit.
  std::size_t maxFrameBytes = 0;
};

// "gst:PIPELINE" (a gst-launch-1.0 description) or "/dev/videoN".
XEL_HOST_API bool IsStreamOperand(const std::string& operand);
// False when the framework was built without GStreamer: every stream is then refused.
XEL_HOST_API bool StreamsAvailable();

// Opens "gst:PIPELINE", whose end is attached to a sink taking GRAY8 or GRAY16_LE, or "/dev/videoN"
// as the pipeline "v4l2src device=/dev/videoN". Frames come as one-frame greyscale images in
// 8- or 16-bit units, with no significant bits declared. Used from one thread at a time.
class XEL_HOST_API StreamFrameSource {
 public:
  // Throws StreamError for a description that does not parse or a pipeline that does not start.
  StreamFrameSource(const std::string& operand, const StreamOptions& options);
  ~StreamFrameSource();
  StreamFrameSource(const StreamFrameSource&) = delete;
  StreamFrameSource& operator=(const StreamFrameSource&) = delete;

  // The next frame, nothing at the end of the stream. Throws StreamError when the pipeline fails,
  // its caps cannot be negotiated (naming the caps offered) or no frame comes within the timeout.
  std::optional<Image> Next();
  // The frame rate the stream's caps declare, once a frame has come; nothing for a variable rate.
  std::optional<FrameRate> Rate() const;
  // The presentation time in seconds of the frame Next gave last, nothing when the stream gave none.
  std::optional<double> LastTime() const;

 private:
  struct Pipeline;
  std::unique_ptr<Pipeline> m_Pipeline;
};

}  // namespace xelhost
