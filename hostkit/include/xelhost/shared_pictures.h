// Pictures to share: JPEG (libjpeg-turbo) and WebP (libwebp), one frame of 8-bit grey or RGB each.
// WriteImageFile writes them too, with the defaults below.
#pragma once

#include <xelfw/Image.h>
#include <xelhost/framework_types.h>
#include <xelhost/provenance.h>

#include <filesystem>
#include <optional>
#include <vector>

namespace xelhost {

// JPEG quality 1..100. At 90 a pseudo-colour picture shows no visible loss at a tenth of its PNG.
inline constexpr int kDefaultJpegQuality = 90;

// Lossy WebP at this quality (1..100); without one, WebP is lossless.
using WebpQuality = std::optional<int>;

// Complete files in memory; throw ImageIoError for what the format cannot hold (more than 8 bits a
// component, more than one frame, sides beyond its limit) or a quality outside 1..100. A JPEG carries a record's block
// in comment (COM) segments.
XEL_HOST_API std::vector<BYTE> EncodeJpeg(const Image& image, int quality = kDefaultJpegQuality,
                                          const Provenance* record = nullptr);
XEL_HOST_API std::vector<BYTE> EncodeWebp(const Image& image, WebpQuality quality = std::nullopt);

// The same, written atomically (complete under the name or not at all).
XEL_HOST_API void WriteJpegFile(const Image& image, const std::filesystem::path& file,
                                int quality = kDefaultJpegQuality, const Provenance* record = nullptr);
XEL_HOST_API void WriteWebpFile(const Image& image, const std::filesystem::path& file,
                                WebpQuality quality = std::nullopt);

}  // namespace xelhost
