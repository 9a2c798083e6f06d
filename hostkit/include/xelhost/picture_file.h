// Pictures of windows and the screen as PNG files, written through the framework's atomic writer.
#pragma once

#include <winui/surface.h>
#include <xelhost/framework_types.h>

#include <filesystem>
#include <string_view>

namespace xelhost {

// Before any work: throws UsageError unless the file is a .png, CommandError when its folder is missing.
void CheckPictureFile(std::string_view option, const std::filesystem::path& file);

// Throws CommandError naming the file.
void SavePicture(const winui::Surface& picture, const std::filesystem::path& file);

}  // namespace xelhost
