// --aoi [NAME=]SHAPE (see area_shape.h), repeatable, and --areas FILE: the named areas temperature
// reports and marks are made of; --line [NAME=]X1,Y1,X2,Y2, repeatable: the line profiles.
#pragma once

#include <xelhost/arguments.h>
#include <xelhost/framework_types.h>

#include <xelhost/AreaStatistics.h>
#include <xelhost/line_profile.h>

#include <string>

#include <string_view>
#include <vector>

namespace xelhost {

inline constexpr OptionSpec kAreaOption{"aoi", true, true};
inline constexpr OptionSpec kAreasFileOption{"areas", true};
inline constexpr OptionSpec kLineOption{"line", true, true};
// The area's name when none is given: the whole image.
inline constexpr std::string_view kWholeImage = "image";

// The areas of --aoi in the order given, then those of --areas; an area without a name is called
// after its place: aoi1, aoi2, ... Throws UsageError for a text that is not [NAME=]SHAPE, an empty
// shape or name, or a name given twice. Whether an area lies inside is a question for each frame.
std::vector<xelhost::MeasurementArea> ParseAreas(const Arguments& args);
// An areas file: one [NAME=]SHAPE a line; blank lines and lines whose first non-blank character is
// '#' are skipped. Unnamed areas are called after their place among all areas, the first of the file
// being number firstPosition + 1. Throws UsageError "FILE:LINE: what is wrong" for a line that is not
// an area, CommandError for a file that cannot be read.
std::vector<xelhost::MeasurementArea> ReadAreasFile(const std::string& path, std::size_t firstPosition = 0);
// Several areas, or one given a name: output names each.
bool AreasNamed(const Arguments& args);

// The lines of --line in the order given, unnamed ones called line1, line2, ... Throws UsageError for
// a text that is not [NAME=]X1,Y1,X2,Y2 or a name given twice.
std::vector<xelhost::ProfileLine> ParseLines(const Arguments& args);

// The given areas, or the whole frame, whatever its size, when none is given.
std::vector<xelhost::MeasurementArea> AreasOf(const std::vector<xelhost::MeasurementArea>& given,
                                              const xelfw::Image& image);
// Throws UsageError naming the first area or line that has no pixel in the image.
void CheckAreasInside(const std::vector<xelhost::MeasurementArea>& areas, const xelfw::Image& image);
void CheckLinesInside(const std::vector<xelhost::ProfileLine>& lines, const xelfw::Image& image);

}  // namespace xelhost
