// Pictures to share: JPEG (libjpeg-turbo) and WebP (libwebp), one frame of 8-bit grey or RGB each.
// WriteImageFile writes them too, with the defaults below.
#pragma once

#include <xelfw/Image.h>
#include <xelhost/framework_types.h>
#include <xelhost/provenance.h>

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace xelhost {

// JPEG quality 1..100. At 90 a pseudo-colour picture shows no visible loss at a tenth of its PNG.
inline constexpr int kDefaultJpegQuality = 90;

inline constexpr std::string_view kXmpStart =
    "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?><x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
    "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description rdf:about=\"\" "
    "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">";
inline constexpr std::string_view kXmpEnd =
    "</rdf:li></rdf:Alt></dc:description></rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end=\"w\"?>";

// Lossy WebP at this quality (1..100); without one, WebP is lossless.
using WebpQuality = std::optional<int>;

// Complete files in memory; throw ImageIoError for what the format cannot hold (more than 8 bits a
// component, more than one frame, sides beyond its limit) or a quality outside 1..100. A JPEG carries a record's block
// in comment (COM) segments, a WebP in an XMP packet's description (kXmpStart, the block with &, <
// and > escaped, kXmpEnd).
XEL_HOST_API std::vector<BYTE> EncodeJpeg(const Image& image, int quality = kDefaultJpegQuality,
                                          const Provenance* record = nullptr);
XEL_HOST_API std::vector<BYTE> EncodeWebp(const Image& image, WebpQuality quality = std::nullopt,
                                          const Provenance* record = nullptr);

// The same, written atomically (complete under the name or not at all).
XEL_HOST_API void WriteJpegFile(const Image& image, const std::filesystem::path& file,
                                int quality = kDefaultJpegQuality, const Provenance* record = nullptr);
XEL_HOST_API void WriteWebpFile(const Image& image, const std::filesystem::path& file,
                                WebpQuality quality = std::nullopt, const Provenance* record = nullptr);

}  // namespace xelhost
