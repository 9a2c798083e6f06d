// Frame-by-frame reading of image files: the file stays open and each Next decodes one page.
#include "image_io/frame_decoder.h"

#include <xelhost/image_io.h>

namespace xelhost {

struct ImageFileReader::State {
  State(const std::filesystem::path& file, const ReadLimits& limits)
      : path(file),
        source(file),
        allowance(limits, source.Size(), source.Name(), true),
        decoder(image_io::OpenFrameDecoder(source, allowance)) {}

  std::filesystem::path path;
  image_io::FileSource source;
  image_io::FrameAllowance allowance;
  std::unique_ptr<image_io::FrameDecoder> decoder;
};

ImageFileReader::ImageFileReader(const std::filesystem::path& file) : ImageFileReader(file, ReadLimits{}) {}

ImageFileReader::ImageFileReader(const std::filesystem::path& file, const ReadLimits& limits)
    : m_State(std::make_unique<State>(file, limits)) {}

ImageFileReader::~ImageFileReader() = default;
ImageFileReader::ImageFileReader(ImageFileReader&&) noexcept = default;
ImageFileReader& ImageFileReader::operator=(ImageFileReader&&) noexcept = default;

std::optional<Image> ImageFileReader::Next() {
  std::vector<FrameBuffer> frame(1);
  if (!m_State->decoder->Next(frame[0])) return std::nullopt;
  const ImageFileInfo& info = m_State->decoder->Info();
  Image image(info.width, info.height, info.layout, std::move(frame));
  image.SetSignificantBitsDeclared(m_State->decoder->SignificantBitsDeclared());
  return image;
}

bool ImageFileReader::Skip() { return m_State->decoder->Skip(); }

const std::filesystem::path& ImageFileReader::Path() const { return m_State->path; }

const ImageFileInfo& ImageFileReader::FrameInfo() const { return m_State->decoder->Info(); }

}  // namespace xelhost
