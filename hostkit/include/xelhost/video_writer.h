// Sequences of pictures as video files through GStreamer: lossless FFV1 in Matroska (.mkv), VP9 in
// WebM (.webm) or H.264 in MP4 (.mp4).
#pragma once

#include <xelfw/Image.h>
#include <xelhost/frame_rate.h>
#include <xelhost/framework_types.h>
#include <xelhost/image_io.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace xelhost {

enum class VideoFormat { Ffv1Matroska, Vp9Webm, H264Mp4 };

// By extension (.mkv, .webm, .mp4, any case); nothing for any other.
inline std::optional<VideoFormat> VideoFormatFromPath(const std::filesystem::path& file) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".mkv") return VideoFormat::Ffv1Matroska;
  if (ext == ".webm") return VideoFormat::Vp9Webm;
  if (ext == ".mp4") return VideoFormat::H264Mp4;
  return std::nullopt;
}

// False when the host kit was built without GStreamer: every video output is then refused.
XEL_HOST_API bool VideoOutputsAvailable();

// Throws ImageIoError saying why videos of this format cannot be written here: a build without
// GStreamer, or an encoder or muxer that is not installed (naming the package that brings it).
// Costs no file and no frame, so a command asks before it starts.
XEL_HOST_API void CheckVideoFormatAvailable(VideoFormat format);

// Writes frames as they come: each is handed to the encoder at once, and Add waits while the encoder
// is a few frames behind, so that a long or endless sequence costs the memory of those few frames.
// The file appears on Commit, complete; a writer destroyed without Commit, a failure or a signal
// that ends the process leaves nothing (and the target unchanged).
class XEL_HOST_API VideoFileWriter {
 public:
  // Throws ImageIoError when the format cannot be written here or no file can be made beside the target.
  VideoFileWriter(const std::filesystem::path& file, VideoFormat format, FrameRate rate);
  ~VideoFileWriter();
  VideoFileWriter(const VideoFileWriter&) = delete;
  VideoFileWriter& operator=(const VideoFileWriter&) = delete;

  // One frame of 8-bit grey or RGB; every frame has the first one's size. Throws ImageIoError for a
  // frame of another size, more than 8 bits a component, or an encoder that failed.
  void Add(const Image& picture);
  std::size_t Frames() const;
  // Ends the stream, waits for the encoder and muxer to finish the file, and puts it in place.
  void Commit();

 private:
  struct State;
  std::unique_ptr<State> m_State;
};

}  // namespace xelhost
