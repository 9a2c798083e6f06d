// GStreamer started once a process, for the frame sources and the video writers alike.
#include "gst/gst_support.h"

#include <mutex>

namespace xelhost {

const std::string& GStreamerFailure() {
  static std::once_flag once;
  static std::string failure;
  std::call_once(once, [] {
    GError* error = nullptr;
    if (gst_init_check(nullptr, nullptr, &error) == FALSE) {
      failure = error != nullptr ? error->message : "gst_init failed";
      if (error != nullptr) g_error_free(error);
    }
  });
  return failure;
}

std::string ErrorMessageText(GstMessage* message) {
  GError* raw = nullptr;
  gst_message_parse_error(message, &raw, nullptr);
  const GstPtr<GError> error(raw);
  return std::string(GST_OBJECT_NAME(GST_MESSAGE_SRC(message))) + ": " + (error ? error->message : "failed");
}

}  // namespace xelhost
