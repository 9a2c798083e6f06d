// What the GStreamer frame source and video writer share: owning pointers to GStreamer's objects and
// starting the library once a process.
#pragma once

#include <gst/gst.h>

#include <memory>
#include <string>

namespace xelhost {

struct GstDeleter {
  void operator()(GstMessage* message) const { gst_message_unref(message); }
  void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
  void operator()(GstSample* sample) const { gst_sample_unref(sample); }
  void operator()(GError* error) const { g_error_free(error); }
  void operator()(gchar* text) const { g_free(text); }
  void operator()(GstObject* object) const { gst_object_unref(object); }
  void operator()(GstPluginFeature* feature) const { gst_object_unref(feature); }
};
template <typename T>
using GstPtr = std::unique_ptr<T, GstDeleter>;

// Starts GStreamer on the first call; empty when it runs, else why it cannot start (on every call).
const std::string& GStreamerFailure();

// "ELEMENT: what went wrong" of an error message on a bus.
std::string ErrorMessageText(GstMessage* message);

}  // namespace xelhost
