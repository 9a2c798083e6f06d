// The lines ImageJ reads from the start of a TIFF's ImageDescription. ImageJ takes a description
// beginning "ImageJ" as Java properties (ISO-8859-1, \uXXXX escapes) and, for a 32-bit image, its
// "vunit" as the unit of the values; the other keys of its own it knows are left out, so that it
// treats the pages as it finds them. Lines of other keys that follow are ignored by ImageJ.
#pragma once

#include <xelhost/provenance.h>

#include <string>
#include <string_view>

namespace xelhost::image_io {

// "ImageJ=1.11a\n", then "vunit=UNIT\n" when the record has a Unit.
std::string ImageJDescriptionHead(const Provenance& record);

// UTF-8 text as a Java properties value: ASCII as it is (a backslash doubled), everything else as
// \uXXXX escapes of its UTF-16 units, so that no reader's idea of the bytes' encoding matters.
std::string JavaPropertiesValue(std::string_view utf8);

}  // namespace xelhost::image_io
