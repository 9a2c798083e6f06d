// Frame-by-frame reading of image files.
#include <xelfw/image_io.h>

#include <cstring>

namespace xelfw {

struct ImageFileReader::State {
  std::filesystem::path path;
  Image image;
  UINT next = 0;
};

ImageFileReader::ImageFileReader(const std::filesystem::path& file)
    : m_State(std::make_unique<State>(State{file, ReadImageFile(file)})) {}

ImageFileReader::~ImageFileReader() = default;
ImageFileReader::ImageFileReader(ImageFileReader&&) noexcept = default;
ImageFileReader& ImageFileReader::operator=(ImageFileReader&&) noexcept = default;

std::optional<Image> ImageFileReader::Next() {
  const Image& all = m_State->image;
  if (m_State->next >= all.Frames()) return std::nullopt;
  Image frame(all.Width(), all.Height(), all.Layout());
  std::memcpy(frame.Data(), all.Data(m_State->next), all.FrameBytes());
  frame.SetSignificantBitsDeclared(all.SignificantBitsDeclared());
  ++m_State->next;
  return frame;
}

const std::filesystem::path& ImageFileReader::Path() const { return m_State->path; }

}  // namespace xelfw
