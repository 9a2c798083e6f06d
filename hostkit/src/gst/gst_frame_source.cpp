// Streams through GStreamer: the operand's pipeline ends in an appsink that takes grey video only.
#include <xelhost/GstFrameSource.h>
#include "gst/gst_support.h"

#include <xelhost/memory_budget.h>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <mutex>

#if defined(__SANITIZE_ADDRESS__)
#define XEL_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define XEL_LEAK_CHECKED 1
#endif
#endif

#if defined(XEL_LEAK_CHECKED)
// GLib's library constructor keeps a block for the life of the process that it no longer points
// to once GStreamer has run: not a leak of ours for the leak checker to report.
extern "C" const char* __lsan_default_suppressions() { return "leak:libglib-2.0.so\n"; }
#endif

namespace xelhost {

namespace {

constexpr const char* kSinkName = "xelsink";
constexpr const char* kAcceptedCaps = "video/x-raw,format=(string){GRAY8,GRAY16_LE}";
// How often a wait for a frame looks at the bus for errors.
constexpr auto kBusPoll = std::chrono::milliseconds(50);

void InitialiseGStreamer() {
  if (const std::string& failure = GStreamerFailure(); !failure.empty()) {
    throw StreamError("GStreamer cannot start: " + failure);
  }
}

std::string Description(const std::string& operand) {
  const std::string source = operand.starts_with("gst:") ? operand.substr(4) : "v4l2src device=" + operand;
  return source + " ! appsink name=" + kSinkName;
}

std::string CapsText(GstCaps* caps) {
  const GstPtr<gchar> text(gst_caps_to_string(caps));
  return text ? text.get() : "(none)";
}

// Frames the sink takes, by their size; the probe runs on a streaming thread.
struct CapsLimit {
  std::size_t maxFrameBytes = 0;
  mutable std::mutex mutex;
  std::string refusal;  // why caps were dropped for their size
};

// Bytes of a frame in the caps' structure when its size and format are fixed; 0 when they are not.
std::size_t FixedFrameBytes(const GstStructure* structure) {
  int width = 0;
  int height = 0;
  if (gst_structure_get_int(structure, "width", &width) == FALSE ||
      gst_structure_get_int(structure, "height", &height) == FALSE || width <= 0 || height <= 0) {
    return 0;
  }
  const char* format = gst_structure_get_string(structure, "format");
  const std::size_t unitBytes = format != nullptr && std::strcmp(format, "GRAY16_LE") == 0 ? 2 : 1;
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * unitBytes;
}

// The sink's answer to a caps query loses every fixed size whose frames would not fit the limit, so
// that such a stream fails to negotiate before any element allocates a frame of it.
GstPadProbeReturn DropOversizedCaps(GstPad*, GstPadProbeInfo* info, gpointer data) {
  GstQuery* query = GST_PAD_PROBE_INFO_QUERY(info);
  if (GST_QUERY_TYPE(query) != GST_QUERY_CAPS) return GST_PAD_PROBE_OK;
  auto& limit = *static_cast<CapsLimit*>(data);
  GstCaps* offered = nullptr;
  gst_query_parse_caps_result(query, &offered);
  if (offered == nullptr || gst_caps_is_any(offered) != FALSE) return GST_PAD_PROBE_OK;
  const GstPtr<GstCaps> kept(gst_caps_new_empty());
  for (guint i = 0; i < gst_caps_get_size(offered); ++i) {
    const GstStructure* structure = gst_caps_get_structure(offered, i);
    const std::size_t bytes = FixedFrameBytes(structure);
    if (bytes > limit.maxFrameBytes) {
      int width = 0;
      int height = 0;
      gst_structure_get_int(structure, "width", &width);
      gst_structure_get_int(structure, "height", &height);
      const char* format = gst_structure_get_string(structure, "format");
      std::lock_guard lock(limit.mutex);
      limit.refusal = "frames of " + std::to_string(width) + " x " + std::to_string(height) + " " +
                      (format != nullptr ? format : "grey") + " need " + ByteSizeText(bytes) +
                      ", more than the limit of " + ByteSizeText(limit.maxFrameBytes) + " (" + kLimitHint + ")";
      continue;
    }
    GstCapsFeatures* features = gst_caps_get_features(offered, i);
    gst_caps_append_structure_full(kept.get(), gst_structure_copy(structure),
                                   features != nullptr ? gst_caps_features_copy(features) : nullptr);
  }
  gst_query_set_caps_result(query, kept.get());
  return GST_PAD_PROBE_OK;
}

}  // namespace

bool StreamsAvailable() { return true; }

struct StreamFrameSource::Pipeline {
  std::string operand;
  StreamOptions options;
  CapsLimit capsLimit;
  GstPtr<GstObject> pipeline;
  GstPtr<GstObject> sink;
  GstPtr<GstObject> bus;
  std::optional<FrameRate> rate;
  bool ended = false;
  std::optional<double> lastTime;

  ~Pipeline() {
    if (pipeline) gst_element_set_state(GST_ELEMENT(pipeline.get()), GST_STATE_NULL);
  }

  GstAppSink* AppSink() const { return GST_APP_SINK(sink.get()); }

  // "ELEMENT: what went wrong", and for caps the sink refused, what was offered.
  std::string Explain(GstMessage* message) const {
    GError* raw = nullptr;
    gchar* rawDebug = nullptr;
    gst_message_parse_error(message, &raw, &rawDebug);
    const GstPtr<GError> error(raw);
    const GstPtr<gchar> debug(rawDebug);
    std::string text = std::string(GST_OBJECT_NAME(GST_MESSAGE_SRC(message))) + ": " + error->message;
    const bool notNegotiated = g_error_matches(error.get(), GST_CORE_ERROR, GST_CORE_ERROR_NEGOTIATION) ||
                               (debug && std::strstr(debug.get(), "not-negotiated") != nullptr);
    if (notNegotiated) {
      std::lock_guard lock(capsLimit.mutex);
      if (!capsLimit.refusal.empty()) return capsLimit.refusal;
    }
    if (notNegotiated) {
      const GstPtr<GstObject> pad(GST_OBJECT(gst_element_get_static_pad(GST_ELEMENT(sink.get()), "sink")));
      const GstPtr<GstCaps> offered(gst_pad_peer_query_caps(GST_PAD(pad.get()), nullptr));
      text += " (caps not negotiated: the pipeline offers " + CapsText(offered.get()) +
              "; frames must be video/x-raw in GRAY8 or GRAY16_LE, e.g. end the pipeline with"
              " '! videoconvert ! video/x-raw,format=GRAY16_LE')";
    }
    return text;
  }

  std::optional<std::string> PendingError() const {
    const GstPtr<GstMessage> message(gst_bus_pop_filtered(GST_BUS(bus.get()), GST_MESSAGE_ERROR));
    return message ? std::optional(Explain(message.get())) : std::nullopt;
  }

  // The element a stall is blamed on: the pipeline's first source.
  std::string SourceName() const {
    std::string name = "the source";
    GstIterator* sources = gst_bin_iterate_sources(GST_BIN(pipeline.get()));
    GValue item = G_VALUE_INIT;
    if (gst_iterator_next(sources, &item) == GST_ITERATOR_OK) {
      name = GST_OBJECT_NAME(g_value_get_object(&item));
      g_value_unset(&item);
    }
    gst_iterator_free(sources);
    return name;
  }
};

StreamFrameSource::StreamFrameSource(const std::string& operand, const StreamOptions& options)
    : m_Pipeline(std::make_unique<Pipeline>()) {
  InitialiseGStreamer();
  Pipeline& p = *m_Pipeline;
  p.operand = operand;
  p.options = options;
  p.capsLimit.maxFrameBytes = options.maxFrameBytes;
  GError* raw = nullptr;
  p.pipeline.reset(GST_OBJECT(gst_parse_launch(Description(operand).c_str(), &raw)));
  if (raw != nullptr) {
    const GstPtr<GError> error(raw);
    throw StreamError(operand + ": the pipeline does not parse: " + error->message);
  }
  p.sink.reset(GST_OBJECT(gst_bin_get_by_name(GST_BIN(p.pipeline.get()), kSinkName)));
  p.bus.reset(GST_OBJECT(gst_element_get_bus(GST_ELEMENT(p.pipeline.get()))));

  const GstPtr<GstCaps> accepted(gst_caps_from_string(kAcceptedCaps));
  gst_app_sink_set_caps(p.AppSink(), accepted.get());
  // Live viewing wants the newest frame at the source's pace; a batch wants every frame, as fast as
  // it can take them, with the source held back rather than queued without bound.
  gst_app_sink_set_max_buffers(p.AppSink(), options.dropLate ? 1 : 2);
  gst_app_sink_set_drop(p.AppSink(), options.dropLate ? TRUE : FALSE);
  g_object_set(p.sink.get(), "sync", options.dropLate ? TRUE : FALSE, nullptr);
  if (options.maxFrameBytes != 0) {
    const GstPtr<GstObject> pad(GST_OBJECT(gst_element_get_static_pad(GST_ELEMENT(p.sink.get()), "sink")));
    gst_pad_add_probe(GST_PAD(pad.get()),
                      static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_QUERY_DOWNSTREAM | GST_PAD_PROBE_TYPE_PULL),
                      DropOversizedCaps, &p.capsLimit, nullptr);
  }

  if (gst_element_set_state(GST_ELEMENT(p.pipeline.get()), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
    throw StreamError(operand + ": the pipeline does not start: " + p.PendingError().value_or("no reason given"));
  }
}

StreamFrameSource::~StreamFrameSource() = default;

namespace {

Image CopyFrame(GstSample* sample, const std::string& operand, std::optional<FrameRate>& rate) {
  GstVideoInfo info;
  if (gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) == FALSE) {
    throw StreamError("a frame came without video caps");
  }
  rate.reset();
  if (info.fps_n > 0 && info.fps_d > 0) rate = FrameRate{info.fps_n, info.fps_d};
  const GstVideoFormat format = GST_VIDEO_INFO_FORMAT(&info);
  const UINT bits = format == GST_VIDEO_FORMAT_GRAY8 ? 8 : 16;
  GstVideoFrame frame;
  if (gst_video_frame_map(&frame, &info, gst_sample_get_buffer(sample), GST_MAP_READ) == FALSE) {
    throw StreamError("a frame's buffer cannot be read");
  }
  const auto width = static_cast<UINT>(GST_VIDEO_FRAME_WIDTH(&frame));
  const auto height = static_cast<UINT>(GST_VIDEO_FRAME_HEIGHT(&frame));
  const auto* source = static_cast<const BYTE*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
  const auto sourceStride = static_cast<std::size_t>(GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0));
  const PixelLayout layout = PixelLayout::Grey(bits, bits);
  try {
    FrameCharges::Charge({width, height, 1, layout}, operand);
  } catch (...) {
    gst_video_frame_unmap(&frame);
    throw;
  }
  Image image(width, height, layout);
  for (UINT y = 0; y < height; ++y) {
    std::memcpy(image.Data() + y * image.Stride(), source + y * sourceStride, image.Stride());
  }
  gst_video_frame_unmap(&frame);
  if constexpr (std::endian::native == std::endian::big) {
    if (bits == 16) {
      auto* units = reinterpret_cast<WORD*>(image.Data());
      for (std::size_t i = 0; i < image.FrameBytes() / 2; ++i)
        units[i] = static_cast<WORD>(units[i] << 8 | units[i] >> 8);
    }
  }
  return image;
}

}  // namespace

std::optional<Image> StreamFrameSource::Next() {
  Pipeline& p = *m_Pipeline;
  if (p.ended) return std::nullopt;
  const auto deadline = std::chrono::steady_clock::now() + p.options.timeout;
  for (;;) {
    if (const auto error = p.PendingError()) throw StreamError(p.operand + ": " + *error);
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - std::chrono::steady_clock::now());
    const auto wait = std::clamp<std::chrono::nanoseconds>(left, std::chrono::nanoseconds(0), kBusPoll);
    const GstPtr<GstSample> sample(gst_app_sink_try_pull_sample(p.AppSink(), static_cast<GstClockTime>(wait.count())));
    if (sample) {
      const GstClockTime pts = GST_BUFFER_PTS(gst_sample_get_buffer(sample.get()));
      p.lastTime = GST_CLOCK_TIME_IS_VALID(pts) ? std::optional(static_cast<double>(pts) / GST_SECOND) : std::nullopt;
      return CopyFrame(sample.get(), p.operand, p.rate);
    }
    if (gst_app_sink_is_eos(p.AppSink()) != FALSE) {
      if (const auto error = p.PendingError()) throw StreamError(p.operand + ": " + *error);
      p.ended = true;
      return std::nullopt;
    }
    if (left.count() <= 0) {
      const auto ms = p.options.timeout.count();
      throw StreamError(p.operand + ": " + p.SourceName() + " sent no frame for " + std::to_string(ms / 1000) + "." +
                        std::to_string(ms % 1000 / 100) + " s; the source has stalled");
    }
  }
}

std::optional<FrameRate> StreamFrameSource::Rate() const { return m_Pipeline->rate; }
std::optional<double> StreamFrameSource::LastTime() const { return m_Pipeline->lastTime; }

}  // namespace xelhost
