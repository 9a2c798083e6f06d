// A provenance record as PNG text chunks, and the text chunks of a PNG file read back.
#pragma once

#include <xelhost/framework_types.h>
#include <xelhost/provenance.h>

#include <istream>
#include <string>
#include <utility>
#include <vector>

namespace xelhost::image_io {

struct PngTextChunk {
  std::string type;  // "tEXt" or "iTXt"
  std::vector<BYTE> data;
};

// One chunk a field (its key the keyword), "Comment" with the record's summary, and the whole block
// under kProvenanceKeyword. ASCII text goes into tEXt, anything else into uncompressed UTF-8 iTXt.
std::vector<PngTextChunk> ProvenanceTextChunks(const Provenance& record);

// Keyword and text of every tEXt and uncompressed iTXt chunk of a PNG file, in file order, read from
// just after its signature; other chunks are skipped, not read. Stops at IEND or where the file ends.
std::vector<std::pair<std::string, std::string>> ReadPngText(std::istream& file);

}  // namespace xelhost::image_io
