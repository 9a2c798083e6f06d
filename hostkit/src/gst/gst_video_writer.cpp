// Video files through GStreamer: an appsrc fed frame by frame, an encoder, a muxer and a filesink that
// writes the atomic file's temporary.
#include <xelhost/video_writer.h>
#include "gst/gst_support.h"
#include "image_io/rgb8_rows.h"

#include <xelhost/AtomicFile.h>

#include <gst/app/gstappsrc.h>
#include <gst/video/video.h>

#include <array>
#include <cstring>

namespace xelhost {

namespace {

// An element a format needs, and the Debian package that brings it.
struct Needed {
  const char* element;
  const char* package;
};

struct Encoding {
  const char* name;  // for messages
  // From the converter on; the frames come in as RGB.
  const char* description;
  std::array<Needed, 3> elements;
  // 4:2:0 chroma halves both sides, so the encoder takes even sides only; an odd column or row is
  // repeated to make them even.
  bool evenSides;
};

// FFV1 is lossless only for the pixels it is given: it takes packed RGB as BGRx (a reordering, not
// a conversion), codes it through its reversible colour transform and decodes back to the same RGB.
// The range coder makes files about a tenth smaller than the default Golomb-Rice coder.
//
// VP9 and H.264 are for watching: 4:2:0, which every browser and player decodes. VP9 at constrained
// quality 20 (its bit-rate cap set at one bit a pixel, far above what that quality takes, where the
// default cap would blur small frames) and H.264 at quality 18 keep pseudo colour's bands and labels
// free of visible artefacts; realtime VP9 (speed 5) and x264's "faster" preset encode a 640 x 480 sequence faster
// than it plays on one core, where VP9's default "best" would take minutes for seconds of video.
// VP9 without look-ahead: each frame leaves the encoder as it comes (with libvpx's default lag of 25
// frames, decoders gave back about half the frames of a short pseudo-colour sequence).
constexpr Encoding kFfv1{"FFV1",
                         "video/x-raw,format=BGRx ! avenc_ffv1 coder=range_def ! matroskamux",
                         {{{"avenc_ffv1", "gstreamer1.0-libav"},
                           {"matroskamux", "gstreamer1.0-plugins-good"},
                           {"videoconvert", "gstreamer1.0-plugins-base"}}},
                         false};
constexpr Encoding kVp9{
    "VP9",
    "video/x-raw,format=I420 ! vp9enc deadline=1 cpu-used=5 end-usage=cq cq-level=20 bits-per-pixel=1 lag-in-frames=0 "
    "row-mt=true ! webmmux",
    {{{"vp9enc", "gstreamer1.0-plugins-good"},
      {"webmmux", "gstreamer1.0-plugins-good"},
      {"videoconvert", "gstreamer1.0-plugins-base"}}},
    true};
constexpr Encoding kH264{"H.264",
                         "video/x-raw,format=I420 ! x264enc pass=qual quantizer=18 speed-preset=faster ! "
                         "video/x-h264,profile=high ! mp4mux",
                         {{{"x264enc", "gstreamer1.0-plugins-ugly"},
                           {"mp4mux", "gstreamer1.0-plugins-good"},
                           {"videoconvert", "gstreamer1.0-plugins-base"}}},
                         true};

const Encoding& EncodingOf(VideoFormat format) {
  switch (format) {
    case VideoFormat::Vp9Webm:
      return kVp9;
    case VideoFormat::H264Mp4:
      return kH264;
    case VideoFormat::Ffv1Matroska:
      break;
  }
  return kFfv1;
}

// Frames queued ahead of the encoder; Add waits beyond them.
constexpr guint64 kQueuedFrames = 3;
// How often a wait for the encoder looks at the bus for errors.
constexpr GstClockTime kBusPoll = 20 * GST_MSECOND;

constexpr const char* kSourceName = "xelsrc";
constexpr const char* kSinkName = "xelfile";

}  // namespace

bool VideoOutputsAvailable() { return true; }

void CheckVideoFormatAvailable(VideoFormat format) {
  const Encoding& encoding = EncodingOf(format);
  if (const std::string& failure = GStreamerFailure(); !failure.empty()) {
    throw ImageIoError(std::string(encoding.name) + " video needs GStreamer, which cannot start: " + failure);
  }
  for (const Needed& needed : encoding.elements) {
    const GstPtr<GstPluginFeature> factory(GST_PLUGIN_FEATURE(gst_element_factory_find(needed.element)));
    if (!factory) {
      throw ImageIoError(std::string(encoding.name) + " video needs GStreamer's " + needed.element +
                         ", which is not installed (Debian package " + needed.package + ")");
    }
  }
}

struct VideoFileWriter::State {
  const Encoding& encoding;
  FrameRate rate;
  AtomicFile file;
  GstPtr<GstObject> pipeline;
  GstPtr<GstObject> source;
  GstPtr<GstObject> bus;
  GstVideoInfo info{};  // of the frames as fed, sides made even where the encoder wants them
  UINT width = 0;       // of the pictures
  UINT height = 0;
  UINT fedWidth = 0;  // of the frames as fed
  UINT fedHeight = 0;
  std::size_t frames = 0;

  State(const std::filesystem::path& target, VideoFormat format, FrameRate frameRate)
      : encoding(EncodingOf(format)), rate(frameRate), file(target) {}

  ~State() {
    if (pipeline) gst_element_set_state(GST_ELEMENT(pipeline.get()), GST_STATE_NULL);
  }

  std::string Name() const { return file.Target().string(); }

  void ThrowPendingError(GstClockTime wait) const {
    const GstPtr<GstMessage> message(gst_bus_timed_pop_filtered(GST_BUS(bus.get()), wait, GST_MESSAGE_ERROR));
    if (message) throw ImageIoError(Name() + ": " + ErrorMessageText(message.get()));
  }

  // The pipeline, once the first frame gives the size.
  void Start(UINT pictureWidth, UINT pictureHeight) {
    width = pictureWidth;
    height = pictureHeight;
    const UINT even = encoding.evenSides ? 1u : 0u;
    fedWidth = (width + even) & ~even;
    fedHeight = (height + even) & ~even;
    gst_video_info_set_format(&info, GST_VIDEO_FORMAT_RGB, fedWidth, fedHeight);
    info.fps_n = rate.numerator;
    info.fps_d = rate.denominator;
    const std::string description = std::string("appsrc name=") + kSourceName + " format=time ! videoconvert ! " +
                                    encoding.description + " ! filesink name=" + kSinkName;
    GError* raw = nullptr;
    pipeline.reset(GST_OBJECT(gst_parse_launch(description.c_str(), &raw)));
    if (raw != nullptr) {
      const GstPtr<GError> error(raw);
      throw ImageIoError(Name() + ": the " + encoding.name + " pipeline does not build: " + error->message);
    }
    source.reset(GST_OBJECT(gst_bin_get_by_name(GST_BIN(pipeline.get()), kSourceName)));
    bus.reset(GST_OBJECT(gst_element_get_bus(GST_ELEMENT(pipeline.get()))));
    const GstPtr<GstObject> sink(GST_OBJECT(gst_bin_get_by_name(GST_BIN(pipeline.get()), kSinkName)));
    g_object_set(sink.get(), "location", file.TempPath().c_str(), nullptr);
    const GstPtr<GstCaps> caps(gst_video_info_to_caps(&info));
    gst_app_src_set_caps(GST_APP_SRC(source.get()), caps.get());
    gst_app_src_set_max_bytes(GST_APP_SRC(source.get()), kQueuedFrames * info.size);
    if (gst_element_set_state(GST_ELEMENT(pipeline.get()), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
      ThrowPendingError(0);
      throw ImageIoError(Name() + ": the " + std::string(encoding.name) + " pipeline does not start");
    }
  }

  GstBuffer* Frame(const Image& picture) const {
    image_io::Rgb8Rows rows(picture, 0, Name(), "a video");
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, info.size, nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    const auto stride = static_cast<std::size_t>(GST_VIDEO_INFO_PLANE_STRIDE(&info, 0));
    const std::size_t rowBytes = std::size_t{width} * 3;
    for (UINT y = 0; y < fedHeight; ++y) {
      BYTE* out = map.data + y * stride;
      if (y < height) {
        std::memcpy(out, rows.Row(y), rowBytes);
      } else {
        std::memcpy(out, out - stride, rowBytes);
      }
      if (fedWidth > width) std::memcpy(out + rowBytes, out + rowBytes - 3, 3);
    }
    gst_buffer_unmap(buffer, &map);
    const auto at = [&](std::size_t frame) {
      return gst_util_uint64_scale(frame, GST_SECOND * static_cast<guint64>(rate.denominator),
                                   static_cast<guint64>(rate.numerator));
    };
    GST_BUFFER_PTS(buffer) = at(frames);
    GST_BUFFER_DURATION(buffer) = at(frames + 1) - at(frames);
    return buffer;
  }
};

VideoFileWriter::VideoFileWriter(const std::filesystem::path& file, VideoFormat format, FrameRate rate) {
  CheckVideoFormatAvailable(format);
  if (rate.numerator <= 0 || rate.denominator <= 0) throw ImageIoError(file.string() + ": no frame rate");
  try {
    m_State = std::make_unique<State>(file, format, rate);
  } catch (const FileWriteError& error) {
    throw ImageIoError(error.what());
  }
}

VideoFileWriter::~VideoFileWriter() = default;

void VideoFileWriter::Add(const Image& picture) {
  State& s = *m_State;
  if (!s.pipeline) s.Start(picture.Width(), picture.Height());
  if (picture.Width() != s.width || picture.Height() != s.height || picture.Frames() != 1) {
    throw ImageIoError(s.Name() + ": frame " + std::to_string(s.frames + 1) + " is " + std::to_string(picture.Width()) +
                       " x " + std::to_string(picture.Height()) + ", the video's frames are " +
                       std::to_string(s.width) + " x " + std::to_string(s.height) +
                       "; a video holds pictures of one size");
  }
  GstBuffer* buffer = s.Frame(picture);
  // The source's queue holds a few frames; beyond them the caller waits for the encoder, so that
  // memory stays bounded however long the sequence.
  GstAppSrc* source = GST_APP_SRC(s.source.get());
  while (gst_app_src_get_current_level_bytes(source) >= gst_app_src_get_max_bytes(source)) {
    try {
      s.ThrowPendingError(kBusPoll);
    } catch (...) {
      gst_buffer_unref(buffer);
      throw;
    }
  }
  if (gst_app_src_push_buffer(source, buffer) != GST_FLOW_OK) {
    s.ThrowPendingError(0);
    throw ImageIoError(s.Name() + ": the " + std::string(s.encoding.name) + " encoder took no more frames");
  }
  ++s.frames;
  s.ThrowPendingError(0);
}

std::size_t VideoFileWriter::Frames() const { return m_State->frames; }

void VideoFileWriter::Commit() {
  State& s = *m_State;
  if (!s.pipeline) throw ImageIoError(s.Name() + ": a video needs at least one frame");
  gst_app_src_end_of_stream(GST_APP_SRC(s.source.get()));
  const GstPtr<GstMessage> message(gst_bus_timed_pop_filtered(
      GST_BUS(s.bus.get()), GST_CLOCK_TIME_NONE, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
  if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) {
    throw ImageIoError(s.Name() + ": " + ErrorMessageText(message.get()));
  }
  // The file sink closes the file only when the pipeline stops.
  gst_element_set_state(GST_ELEMENT(s.pipeline.get()), GST_STATE_NULL);
  try {
    s.file.Commit();
  } catch (const FileWriteError& error) {
    throw ImageIoError(error.what());
  }
}

}  // namespace xelhost
