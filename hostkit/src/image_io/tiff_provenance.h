// A provenance record as a TIFF page's tags: ImageDescription (the record's block, after the lines of
// another program's format when the page needs them), Software, PageName and DateTime.
#pragma once

#include <xelhost/provenance.h>

#include <tiffio.h>

#include <string>

namespace xelhost::image_io {

// descriptionHead goes before the block: ImageJ's "ImageJ=...\n" lines must come first.
void SetProvenanceTags(TIFF* tiff, const Provenance& record, const std::string& descriptionHead = {});

}  // namespace xelhost::image_io
