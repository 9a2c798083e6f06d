// Image files as the viewer's frames: listed when opened, each frame read when it is asked for.
#include <xelhost/frame_source.h>

#include <xelhost/errors.h>
#include <xelhost/image_io.h>
#include <xelhost/input_image.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>
#include <system_error>
#include <utility>

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

bool IsTiffFileName(const std::filesystem::path& path) {
  try {
    return xelhost::ImageFileFormatFromPath(path) == ImageFileFormat::Tiff;
  } catch (const xelhost::ImageIoError&) {
    return false;
  }
}

// The directory's entries carry their type, so listing opens no file, not even to look at it.
// Sorted as strings: in one directory that is the paths' order, at a fraction of the comparisons' cost.
std::vector<std::filesystem::path> ImageFilesIn(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    if (entry.is_regular_file(error) && IsImageFileName(entry.path())) names.push_back(entry.path().native());
  }
  if (error) throw CommandError(dir.string() + ": cannot list the directory: " + error.message());
  if (names.empty()) throw CommandError(dir.string() + ": the directory holds no .png, .pgm or .tif image");
  std::sort(names.begin(), names.end());
  return {names.begin(), names.end()};
}

std::vector<std::filesystem::path> ListFiles(const std::vector<std::filesystem::path>& inputs) {
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
  return files;
}

struct ListedFile {
  std::filesystem::path path;
  UINT first = 0;  // index of its first frame in the sequence
  UINT pages = 1;
};

class FileFrames final : public FrameSource {
 public:
  FileFrames(const std::vector<std::filesystem::path>& inputs, std::optional<UINT> inputBits, MemoryBudget& budget,
             FrameCost shown, UINT framesInFlight)
      : m_InputBits(inputBits), m_Budget(budget), m_Shown(std::move(shown)), m_FramesInFlight(framesInFlight) {
    std::uint64_t count = 0;
    for (auto& file : ListFiles(inputs)) {
      // Only a TIFF may hold more than one frame; its pages are counted from their headers.
      const UINT pages = IsTiffFileName(file) ? InspectImageFile(file, budget.ReadLimits()).frames : 1;
      m_Files.push_back({std::move(file), static_cast<UINT>(count), pages});
      count += pages;
      if (count >= kLiveCount) throw CommandError("the inputs hold more frames than the viewer can count");
    }
    m_Count = static_cast<UINT>(count);
    // A short sequence has no more frames to hold at once than it has.
    m_FramesInFlight = std::min(m_FramesInFlight, m_Count);
    // The first file is looked at now, so that a bad start fails before the viewer opens.
    const ImageFileInfo first = InspectImageFile(m_Files.front().path, budget.ReadLimits());
    Admit(first, m_Files.front().path.string());
  }

  UINT Count() const override { return m_Count; }

  xelfw::Image Frame(UINT index) const override {
    std::lock_guard lock(m_Mutex);
    const auto after = std::upper_bound(m_Files.begin(), m_Files.end(), index,
                                        [](UINT i, const ListedFile& file) { return i < file.first; });
    const ListedFile& file = *(after - 1);
    const UINT page = index - file.first;
    // Pages are found by walking the headers from the first, so moving on in the file open is cheap
    // and moving back opens it again.
    const ListedFile* const open = std::exchange(m_ReaderFile, nullptr);  // a reader that failed is not used again
    if (open != &file || m_ReaderPage > page) {
      m_Reader.reset();
      m_Reader.emplace(file.path);
      m_ReaderPage = 0;
      Admit(m_Reader->FrameInfo(), file.path.string());
    }
    for (; m_ReaderPage < page; ++m_ReaderPage) {
      if (!m_Reader->Skip()) throw CommandError(file.path.string() + ": page " + std::to_string(page) + " is missing");
    }
    std::optional<xelfw::Image> image = m_Reader->Next();
    ++m_ReaderPage;
    if (!image) throw CommandError(file.path.string() + ": page " + std::to_string(page) + " is missing");
    m_ReaderFile = &file;
    const std::string label =
        file.pages > 1 ? file.path.string() + " page " + std::to_string(page) : file.path.string();
    // --input-bits is held to on every frame; without it the values are looked at only to warn, on
    // the first frame read, as scanning every frame costs a tenth of the time a frame takes to show.
    if (m_InputBits || !m_Looked) {
      if (auto warning = ApplyInputBits({&*image, 1}, m_InputBits, label))
        std::fprintf(stderr, "%s\n", warning->c_str());
      m_Looked = true;
    }
    return std::move(*image);
  }

 private:
  // From a frame's header, before its pixels: greyscale, and within what the budget holds for the
  // frames in flight, which a larger frame than any before widens.
  void Admit(const ImageFileInfo& info, const std::string& name) const {
    if (info.layout.formatClass != XI_IMGFORMAT_CLASS_GREYSCALE) {
      throw CommandError(name + ": the viewer shows greyscale images only");
    }
    const std::size_t frameBytes = std::max(m_FrameBytes, info.FrameBytes());
    const std::size_t shownBytes = std::max(m_ShownBytes, m_Shown(info));
    if (frameBytes == m_FrameBytes && shownBytes == m_ShownBytes) return;
    m_Budget.Reserve(
        m_FramesInFlight * (frameBytes - m_FrameBytes) + (shownBytes - m_ShownBytes),
        name + " (" + std::to_string(m_FramesInFlight) + " frames in flight and their pictures on screen)");
    m_FrameBytes = frameBytes;
    m_ShownBytes = shownBytes;
  }

  std::vector<ListedFile> m_Files;
  UINT m_Count = 0;
  std::optional<UINT> m_InputBits;
  MemoryBudget& m_Budget;
  FrameCost m_Shown;
  UINT m_FramesInFlight;  // at most the frame count

  mutable std::mutex m_Mutex;
  mutable std::size_t m_FrameBytes = 0;  // reserved for each frame in flight
  mutable std::size_t m_ShownBytes = 0;  // reserved for showing one
  mutable std::optional<ImageFileReader> m_Reader;
  mutable const ListedFile* m_ReaderFile = nullptr;
  mutable UINT m_ReaderPage = 0;  // the page the reader gives next
  mutable bool m_Looked = false;  // at the first frame's values, for a warning
};

}  // namespace

std::unique_ptr<FrameSource> OpenFileFrames(const std::vector<std::filesystem::path>& inputs,
                                            std::optional<UINT> inputBits, MemoryBudget& budget, const FrameCost& shown,
                                            UINT framesInFlight) {
  return std::make_unique<FileFrames>(inputs, inputBits, budget, shown, framesInFlight);
}

}  // namespace xelhost
