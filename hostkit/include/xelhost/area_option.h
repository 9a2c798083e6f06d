// --aoi [NAME=]SHAPE (see area_shape.h), repeatable: the named areas temperature reports and marks are made of.
#pragma once

#include <xelhost/arguments.h>
#include <xelhost/framework_types.h>

#include <xelhost/AreaStatistics.h>

#include <string_view>
#include <vector>

namespace xelhost {

inline constexpr OptionSpec kAreaOption{"aoi", true, true};
// The area's name when none is given: the whole image.
inline constexpr std::string_view kWholeImage = "image";

// The areas in the order given; an area without a name is called after its place: aoi1, aoi2, ...
// Throws UsageError for a text that is not [NAME=]SHAPE, an empty shape or name, or a name given
// twice. Whether an area lies inside is a question for each frame.
std::vector<xelhost::MeasurementArea> ParseAreas(const Arguments& args);
// Several areas, or one given a name: output names each.
bool AreasNamed(const Arguments& args);

// The given areas, or the whole frame, whatever its size, when none is given.
std::vector<xelhost::MeasurementArea> AreasOf(const std::vector<xelhost::MeasurementArea>& given,
                                              const xelfw::Image& image);
// Throws UsageError naming the first area that has no pixel in the image.
void CheckAreasInside(const std::vector<xelhost::MeasurementArea>& areas, const xelfw::Image& image);
// The part of a rectangular area inside the image, for the object's own area of interest; throws
// UsageError for other shapes.
RectangleShape RectangleOf(const xelhost::MeasurementArea& area, const xelfw::Image& image);

}  // namespace xelhost
