// Frame sources: image files read up front, and the demo scene made frame by frame.
#include <xelhost/frame_source.h>

#include <xelhost/demo_scene.h>
#include <xelhost/errors.h>
#include <xelhost/input_image.h>

#include <xelhost/image_io.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <system_error>

namespace xelhost {

namespace {

bool IsImageFileName(const std::filesystem::path& path) {
  try {
    xelhost::ImageFileFormatFromPath(path);
    return true;
  } catch (const xelhost::ImageIoError&) {
    return false;
  }
}

std::vector<std::filesystem::path> ImageFilesIn(const std::filesystem::path& dir) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    if (entry.is_regular_file(error) && IsImageFileName(entry.path())) files.push_back(entry.path());
  }
  if (error) throw CommandError(dir.string() + ": cannot list the directory: " + error.message());
  std::sort(files.begin(), files.end());
  if (files.empty()) throw CommandError(dir.string() + ": the directory holds no .png, .pgm or .tif image");
  return files;
}

class MemoryFrames final : public FrameSource {
 public:
  explicit MemoryFrames(std::vector<xelfw::Image> frames) : m_Frames(std::move(frames)) {}
  UINT Count() const override { return static_cast<UINT>(m_Frames.size()); }
  xelfw::Image Frame(UINT index) const override { return m_Frames.at(index); }

 private:
  std::vector<xelfw::Image> m_Frames;
};

class DemoFrames final : public FrameSource {
 public:
  UINT Count() const override { return kDemoFrames; }
  xelfw::Image Frame(UINT index) const override { return MakeDemoFrame(index); }
};

}  // namespace

std::unique_ptr<FrameSource> OpenFileFrames(const std::vector<std::filesystem::path>& inputs,
                                            std::optional<UINT> inputBits, MemoryBudget& budget,
                                            const FrameCost& shown) {
  std::vector<std::filesystem::path> files;
  for (const auto& input : inputs) {
    std::error_code error;
    if (std::filesystem::is_directory(input, error)) {
      const auto inDir = ImageFilesIn(input);
      files.insert(files.end(), inDir.begin(), inDir.end());
    } else {
      files.push_back(input);
    }
  }
  // Every frame stays in memory while the viewer runs, so the files together must fit the limit
  // beside what showing the largest of them costs.
  std::vector<xelhost::ImageFileInfo> infos;
  std::size_t shownBytes = 0;
  std::string shownName;
  for (const auto& file : files) {
    const xelhost::ImageFileInfo& info = infos.emplace_back(xelhost::InspectImageFile(file, budget.ReadLimits()));
    if (info.layout.formatClass != XI_IMGFORMAT_CLASS_GREYSCALE) {
      throw CommandError(file.string() + ": the viewer shows greyscale images only");
    }
    budget.Reserve(info.DecodedBytes(), file.string());
    if (shown(info) > shownBytes) {
      shownBytes = shown(info);
      shownName = file.string();
    }
  }
  budget.Reserve(shownBytes, shownName + " (its pictures on screen)");
  std::vector<xelfw::Image> frames;
  for (std::size_t i = 0; i < files.size(); ++i) {
    xelhost::ImageFileReader reader(files[i], {infos[i].FrameBytes(), infos[i].frames});
    const std::size_t first = frames.size();
    while (std::optional<xelfw::Image> frame = reader.Next()) frames.push_back(std::move(*frame));
    if (const auto warning = ApplyInputBits(std::span(frames).subspan(first), inputBits, files[i].string())) {
      std::fprintf(stderr, "%s\n", warning->c_str());
    }
  }
  return FramesInMemory(std::move(frames));
}

std::unique_ptr<FrameSource> OpenDemoFrames() { return std::make_unique<DemoFrames>(); }

std::unique_ptr<FrameSource> FramesInMemory(std::vector<xelfw::Image> frames) {
  return std::make_unique<MemoryFrames>(std::move(frames));
}

}  // namespace xelhost
