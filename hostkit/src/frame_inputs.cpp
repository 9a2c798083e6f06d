// Operand expansion and frame-by-frame reading of a batch's inputs.
#include <xelhost/frame_inputs.h>

#include <xelhost/demo_scene.h>
#include <xelhost/errors.h>
#include <xelhost/memory_budget.h>

#include <tiffio.h>

#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

namespace xelhost {

namespace {

bool IsImageFileName(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".png" || ext == ".pgm" || ext == ".tif" || ext == ".tiff";
}

bool IsTiffFile(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  char magic[2] = {};
  return in.read(magic, 2) && ((magic[0] == 'I' && magic[1] == 'I') || (magic[0] == 'M' && magic[1] == 'M'));
}

int SilentTiffMessage(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// Pages of a TIFF, 1 for a file libtiff cannot walk (its reader reports why).
UINT CountTiffPages(const std::string& file) {
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  TIFFOpenOptionsSetErrorHandlerExtR(options, SilentTiffMessage, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options, SilentTiffMessage, nullptr);
  TIFF* tiff = TIFFOpenExt(file.c_str(), "r", options);
  TIFFOpenOptionsFree(options);
  if (tiff == nullptr) return 1;
  const tdir_t pages = TIFFNumberOfDirectories(tiff);
  TIFFClose(tiff);
  return std::max<UINT>(pages, 1);
}

std::vector<std::string> FolderImages(const std::filesystem::path& folder) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file() && IsImageFileName(entry.path())) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) throw UsageError(folder.string() + ": the folder holds no .png, .pgm or .tif files");
  return files;
}

std::vector<std::string> PatternMatches(const std::string& pattern) {
  glob_t matches{};
  const int result = ::glob(pattern.c_str(), 0, nullptr, &matches);
  std::vector<std::string> files(matches.gl_pathv, matches.gl_pathv + matches.gl_pathc);
  ::globfree(&matches);
  if (result != 0 || files.empty()) throw UsageError(pattern + ": no file matches");
  return files;  // glob sorts them
}

const char* SpecialFileKind(mode_t mode) {
  if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  return nullptr;
}

// What the file is, from its status alone: nothing that could wait (a FIFO without a writer) is
// opened. A missing file is left to the reader, which reports it with the frame.
std::optional<FileIdentity> LookAt(const std::string& file) {
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0) return std::nullopt;
  if (const char* kind = SpecialFileKind(status.st_mode)) {
    throw CommandError(file + ": " + kind +
                       ", not an image file; xelimg reads regular files, folders, '-' and streams");
  }
  return FileIdentity{status.st_dev, status.st_ino};
}

std::optional<FileIdentity> StandardInputIdentity() {
  struct stat status {};
  if (::fstat(STDIN_FILENO, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return FileIdentity{status.st_dev, status.st_ino};
}

bool IsPattern(const std::string& operand) {
  return operand.find_first_of("*?[") != std::string::npos && !std::filesystem::exists(operand);
}

// The reader's messages start with the file name, which the report puts in front already.
std::string WithoutName(const std::string& message, const std::string& name) {
  const std::string prefix = name + ": ";
  return message.compare(0, prefix.size(), prefix) == 0 ? message.substr(prefix.size()) : message;
}

// A stream has no size to check in advance, so it is read up to a limit: /dev/zero piped in must
// end in a message, not in all the memory there is.
xelfw::Image ReadStandardInput(std::size_t maxBytes) {
  std::vector<BYTE> bytes;
  std::array<char, 1 << 16> block;
  while (std::cin.read(block.data(), block.size()) || std::cin.gcount() > 0) {
    const auto count = static_cast<std::size_t>(std::cin.gcount());
    if (bytes.size() + count > maxBytes) {
      throw CommandError("standard input holds more than " + std::to_string(maxBytes) + " bytes (" + kLimitHint + ")");
    }
    bytes.insert(bytes.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(count));
  }
  // Decoded, it is held to the same limit: a small compressed bomb is refused from its header.
  try {
    return xelhost::DecodeImage(bytes, kStandardStream, ReadLimits{maxBytes});
  } catch (const ImageLimitError& error) {
    throw CommandError(std::string(error.what()) + " (" + kLimitHint + ")");
  }
}

xelhost::ImageFileInfo InfoOf(const xelfw::Image& image) { return {image.Width(), image.Height(), 1, image.Layout()}; }

// One frame of a multi-frame image (a TIFF on standard input) as an image of its own.
xelfw::Image FrameOf(const xelfw::Image& all, UINT frame) {
  if (all.Frames() == 1) return all;
  xelfw::Image single(all.Width(), all.Height(), all.Layout());
  std::memcpy(single.Data(), all.Data(frame), all.FrameBytes());
  single.SetSignificantBitsDeclared(all.SignificantBitsDeclared());
  return single;
}

}  // namespace

std::vector<InputFile> ExpandInputs(const std::vector<std::string>& operands) {
  std::vector<InputFile> inputs;
  bool standardInput = false;
  for (const std::string& operand : operands) {
    if (xelhost::IsStreamOperand(operand)) {
      inputs.push_back({operand, 0, false, true});
      continue;
    }
    if (operand == kDemoInput) {
      inputs.push_back({operand, 1});
      continue;
    }
    if (operand == kStandardStream) {
      if (standardInput) throw UsageError("standard input ('-') can be read only once");
      if (::isatty(STDIN_FILENO) == 1)
        throw UsageError("standard input is a terminal; send an image to it through a pipe");
      standardInput = true;
      inputs.push_back({operand, 1, false, false, StandardInputIdentity()});
      continue;
    }
    std::vector<std::string> files;
    if (std::filesystem::is_directory(operand)) {
      files = FolderImages(operand);
    } else if (IsPattern(operand)) {
      files = PatternMatches(operand);
    } else {
      files = {operand};
    }
    for (std::string& file : files) {
      const std::optional<FileIdentity> identity = LookAt(file);
      // What is not a TIFF is a PNG, a PGM or no image at all: one frame or an error either way.
      const bool tiff = identity && IsTiffFile(file);
      const UINT pages = tiff ? CountTiffPages(file) : 1;
      inputs.push_back({std::move(file), pages, !tiff, false, identity});
    }
  }
  return inputs;
}

std::size_t TotalFrames(const std::vector<InputFile>& inputs) {
  std::size_t total = 0;
  for (const InputFile& input : inputs) {
    if (input.stream) return kUnknownFrames;
    total += input.pages;
  }
  return total;
}

std::string FrameLabel(const InputFile& input, UINT page) {
  if (input.stream) return input.name + " frame " + std::to_string(page);
  return input.pages > 1 || page > 0 ? input.name + " page " + std::to_string(page) : input.name;
}

FrameSequence::FrameSequence(const std::vector<InputFile>& inputs, FrameAdmission admit, std::size_t maxStreamBytes,
                             StreamInputOptions streams)
    : m_Inputs(inputs), m_Admit(std::move(admit)), m_MaxStreamBytes(maxStreamBytes), m_Streams(streams) {}

InputFrame FrameSequence::Failed(std::string error) {
  InputFrame frame;
  frame.index = m_Index++;
  frame.input = m_Input;
  frame.page = m_Page++;
  frame.error = WithoutName(error, m_Inputs[m_Input].name);
  return frame;
}

std::optional<InputFrame> FrameSequence::Next() {
  while (m_Input < m_Inputs.size()) {
    const std::string& name = m_Inputs[m_Input].name;
    try {
      if (!m_Opened && m_Inputs[m_Input].oneFrame) {
        InputFrame frame;
        frame.index = m_Index++;
        frame.input = m_Input++;
        frame.pending = true;
        return frame;
      }
      if (!m_Opened) {
        m_Opened = true;
        if (m_Inputs[m_Input].stream) {
          m_Stream.emplace(name, m_Streams.source);
        } else if (name == kDemoInput) {
          m_Whole = MakeDemoScene();
        } else if (name == kStandardStream) {
          m_Whole = ReadStandardInput(m_MaxStreamBytes);
        } else {
          m_Reader.emplace(name);
          m_Admit(m_Reader->FrameInfo(), name);
        }
        if (m_Whole) m_Admit(InfoOf(*m_Whole), name);
      }
      std::optional<xelfw::Image> image;
      if (m_Stream) {
        // A stream's frames are known only as they come, so each is admitted on arrival.
        if (!m_Streams.frames || m_Page < *m_Streams.frames) image = m_Stream->Next();
        if (image) m_Admit(InfoOf(*image), name);
      } else if (m_Reader) {
        image = m_Reader->Next();
      } else if (m_Whole && m_Page < m_Whole->Frames()) {
        image = FrameOf(*m_Whole, m_Page);
      }
      if (image) {
        InputFrame frame;
        frame.index = m_Index++;
        frame.input = m_Input;
        frame.page = m_Page++;
        frame.image = std::move(image);
        if (m_Stream) frame.rate = m_Stream->Rate();
        if (m_Stream) frame.time = m_Stream->LastTime();
        return frame;
      }
    } catch (const std::exception& error) {
      // A reader that failed cannot be trusted to find the next page, so its file ends here.
      InputFrame frame = Failed(error.what());
      const UINT pages = m_Inputs[m_Input].pages;
      if (pages > m_Page) frame.error += " (and the " + std::to_string(pages - m_Page) + " pages after it)";
      m_Reader.reset();
      m_Stream.reset();
      m_Whole.reset();
      return frame;
    }
    m_Reader.reset();
    m_Stream.reset();
    m_Whole.reset();
    m_Opened = false;
    m_Page = 0;
    ++m_Input;
  }
  return std::nullopt;
}

void FrameSequence::Load(InputFrame& frame) const {
  if (!frame.pending) return;
  frame.pending = false;
  const std::string& name = m_Inputs[frame.input].name;
  try {
    xelhost::ImageFileReader reader(name);
    m_Admit(reader.FrameInfo(), name);
    frame.image = reader.Next();
    if (!frame.image) frame.error = "the file holds no frame";
  } catch (const std::exception& error) {
    frame.error = WithoutName(error.what(), name);
  }
}

}  // namespace xelhost
