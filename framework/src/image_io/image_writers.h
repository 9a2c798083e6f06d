// The writers behind WriteImageFile, one per file format.
#pragma once

#include <xelfw/Image.h>

#include <filesystem>

namespace xelfw::image_io {

void WritePng(const Image& image, const std::filesystem::path& file);
void WriteTiff(const Image& image, const std::filesystem::path& file);
void WritePgm(const Image& image, const std::filesystem::path& file);

}  // namespace xelfw::image_io
