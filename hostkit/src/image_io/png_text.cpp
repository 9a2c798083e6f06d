// PNG tEXt and iTXt chunks: keyword, a NUL, then for iTXt the compression flag and method, an empty
// language tag and translated keyword (each NUL-ended), then the text.
#include "image_io/png_text.h"

#include <algorithm>
#include "image_io/big_endian.h"

namespace xelhost::image_io {

namespace {

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

PngTextChunk TextChunk(const std::string& keyword, const std::string& text) {
  PngTextChunk chunk{IsAscii(text) ? "tEXt" : "iTXt", {keyword.begin(), keyword.end()}};
  chunk.data.push_back(0);
  if (chunk.type == "iTXt") chunk.data.insert(chunk.data.end(), {0, 0, 0, 0});
  chunk.data.insert(chunk.data.end(), text.begin(), text.end());
  return chunk;
}

}  // namespace

std::vector<PngTextChunk> ProvenanceTextChunks(const Provenance& record) {
  std::vector<PngTextChunk> chunks;
  for (const ProvenanceField& field : record.Fields()) chunks.push_back(TextChunk(field.key, field.value));
  chunks.push_back(TextChunk("Comment", record.Summary()));
  // A block of several lines is not "ASCII" by IsAscii's test and goes into iTXt: it is UTF-8 anyway.
  chunks.push_back(TextChunk(std::string(kProvenanceKeyword), record.Block()));
  return chunks;
}

std::vector<std::pair<std::string, std::string>> ReadPngText(std::istream& file) {
  // Text chunks are small; a length beyond this is a damaged file, not text.
  constexpr std::uint32_t kMaxTextBytes = 16u << 20;
  std::vector<std::pair<std::string, std::string>> texts;
  BYTE header[8];
  while (file.read(reinterpret_cast<char*>(header), sizeof header)) {
    const std::uint32_t length = BigEndian32(header);
    const std::string type(reinterpret_cast<const char*>(header + 4), 4);
    if (type == "IEND") break;
    if ((type != "tEXt" && type != "iTXt") || length > kMaxTextBytes) {
      file.seekg(std::streamoff{length} + 4, std::ios::cur);  // the data and the CRC
      continue;
    }
    std::string data(length, '\0');
    if (!file.read(data.data(), length) || !file.seekg(4, std::ios::cur)) break;
    const std::size_t nul = data.find('\0');
    if (nul == std::string::npos) continue;
    std::string keyword = data.substr(0, nul);
    if (type == "tEXt") {
      texts.emplace_back(std::move(keyword), data.substr(nul + 1));
      continue;
    }
    // iTXt: only uncompressed text is read; the language tag and translated keyword are skipped.
    if (nul + 3 > data.size() || data[nul + 1] != 0) continue;
    const std::size_t language = data.find('\0', nul + 3);
    const std::size_t translated = language == std::string::npos ? language : data.find('\0', language + 1);
    if (translated != std::string::npos) texts.emplace_back(std::move(keyword), data.substr(translated + 1));
  }
  return texts;
}

}  // namespace xelhost::image_io
