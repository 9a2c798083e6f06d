// The writers behind WriteImageFile, one per file format; CheckWritable has refused what the file
// cannot hold before any of them runs.
#pragma once

#include <xelfw/image_io.h>

#include <filesystem>

namespace xelfw::image_io {

void CheckWritable(const ImageFileInfo& image, const std::filesystem::path& file, ImageFileFormat format);

void WritePng(const Image& image, const std::filesystem::path& file);
void WriteTiff(const Image& image, const std::filesystem::path& file);
void WritePgm(const Image& image, const std::filesystem::path& file);

}  // namespace xelfw::image_io
