// The viewer's frames from a video stream: gst:PIPELINE or /dev/videoN, live.
#pragma once

#include <xelhost/frame_source.h>
#include <xelhost/framework_types.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace xelhost {

// The stream is opened and its first frame read here, so a pipeline that fails (parse, start, caps,
// stall) fails before the viewer opens. Each new index the viewer asks for takes the newest frame:
// when processing falls behind, the frames in between are dropped, never queued. The same index
// again (a paused viewer redrawing) gives the same frame; after the end of the stream the last
// frame stays. inputBits: the significant bits of the grey values, as --input-bits gives them.
// Frames larger than the budget has left are refused by their caps, before GStreamer allocates one;
// the frame held and what showing it costs (`shown`, from the first frame) are reserved.
std::unique_ptr<FrameSource> OpenStreamFrames(const std::string& operand, std::optional<UINT> inputBits,
                                              std::chrono::milliseconds timeout, MemoryBudget& budget,
                                              const FrameCost& shown);

}  // namespace xelhost
