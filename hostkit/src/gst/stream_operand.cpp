// Which operands name a stream rather than a file.
#include <xelhost/GstFrameSource.h>

namespace xelhost {

bool IsStreamOperand(const std::string& operand) {
  return operand.starts_with("gst:") || operand.starts_with("/dev/video");
}

}  // namespace xelhost
