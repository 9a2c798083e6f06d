// winui encodes the picture; the framework's writer puts it in place whole or not at all.
#include <xelhost/picture_file.h>

#include <xelhost/errors.h>

#include <xelhost/AtomicFile.h>

#include <string>
#include <system_error>
#include <vector>

namespace xelhost {

void CheckPictureFile(std::string_view option, const std::filesystem::path& file) {
  if (file.extension() != ".png") throw UsageError("--" + std::string(option) + ": the picture is a .png file");
  const std::filesystem::path dir = file.parent_path().empty() ? "." : file.parent_path();
  std::error_code error;
  if (!std::filesystem::is_directory(dir, error)) throw CommandError(dir.string() + ": no such directory");
}

void SavePicture(const winui::Surface& picture, const std::filesystem::path& file) {
  std::vector<std::uint8_t> png;
  std::string error;
  if (!winui::EncodePng(picture, &png, &error)) throw CommandError(file.string() + ": " + error);
  try {
    xelhost::WriteFileAtomically(file, png);
  } catch (const xelhost::FileWriteError& failure) {
    throw CommandError(failure.what());
  }
}

}  // namespace xelhost
