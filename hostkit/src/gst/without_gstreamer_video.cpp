// Video files in a host kit built without GStreamer: refused, saying why.
#include <xelhost/video_writer.h>

namespace xelhost {

bool VideoOutputsAvailable() { return false; }

void CheckVideoFormatAvailable(VideoFormat) {
  throw ImageIoError("this build writes no video (built without GStreamer); write a folder, a .tif or single pictures");
}

struct VideoFileWriter::State {};

VideoFileWriter::VideoFileWriter(const std::filesystem::path&, VideoFormat format, FrameRate) {
  CheckVideoFormatAvailable(format);
}

VideoFileWriter::~VideoFileWriter() = default;

void VideoFileWriter::Add(const Image&) {}

std::size_t VideoFileWriter::Frames() const { return 0; }

void VideoFileWriter::Commit() {}

}  // namespace xelhost
