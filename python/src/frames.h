// numpy arrays to the framework's images and back, with the checks that turn bad arrays into
// ValueErrors before the plug-in sees them.
#pragma once

#include <xelfw/Image.h>

#include <pybind11/numpy.h>

#include <optional>
#include <vector>

namespace xelpy {

// A 2-D uint8 or uint16 array as a one-frame greyscale image with inputBits significant bits (the
// dtype's bits when not given). Throws std::invalid_argument for another shape or dtype, bits
// outside 1..the dtype's bits, or a value that does not fit in them. Needs the GIL.
xelfw::Image GreyImageFromArray(const pybind11::array& array, std::optional<int> inputBits);

// An RGB image in 8- or 16-bit units as an (H, W, 3) uint8 or uint16 array. Needs the GIL.
pybind11::array ArrayFromColourImage(const xelfw::Image& image);

// A temperature map of the image's size, one float a pixel in row order, as an (H, W) float32 array.
// Needs the GIL.
pybind11::array ArrayFromTemperatures(const std::vector<float>& temperatures, const xelfw::Image& image);

}  // namespace xelpy
