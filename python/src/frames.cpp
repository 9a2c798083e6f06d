// Copies between numpy arrays and images; the image rows have no padding, so each copy is one block.
#include "frames.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace py = pybind11;

namespace xelpy {

namespace {

std::string ShapeText(const py::array& array) {
  std::string text = "(";
  for (py::ssize_t axis = 0; axis < array.ndim(); ++axis) {
    text += (axis == 0 ? "" : ", ") + std::to_string(array.shape(axis));
  }
  return text + (array.ndim() == 1 ? ",)" : ")");
}

template <typename Unit>
xelfw::Image CopyGrey(const py::array& array, UINT bits) {
  // The converting constructor, unlike ensure(), keeps numpy's error: a copy that finds no memory
  // is a MemoryError, not an empty array.
  const py::array_t<Unit, py::array::c_style> dense(array);
  const auto height = static_cast<UINT>(dense.shape(0));
  const auto width = static_cast<UINT>(dense.shape(1));
  const Unit* begin = dense.data();
  const Unit* end = begin + dense.size();
  const unsigned largest = *std::max_element(begin, end);
  if (largest >> bits != 0) {
    throw std::invalid_argument("the array holds the value " + std::to_string(largest) + ", more than input_bits=" +
                                std::to_string(bits) + " can hold (at most " + std::to_string((1u << bits) - 1) + ")");
  }
  xelfw::Image image(width, height, xelfw::PixelLayout::Grey(bits, sizeof(Unit) * 8));
  std::memcpy(image.Data(), begin, image.FrameBytes());
  return image;
}

}  // namespace

xelfw::Image GreyImageFromArray(const py::array& array, std::optional<int> inputBits) {
  if (array.ndim() != 2) {
    throw std::invalid_argument("expected a 2-D greyscale array (rows, columns), got shape " + ShapeText(array));
  }
  if (array.shape(0) == 0 || array.shape(1) == 0)
    throw std::invalid_argument("the array " + ShapeText(array) + " is empty");
  if (array.shape(0) > 0x7FFFFFFF || array.shape(1) > 0x7FFFFFFF) {
    throw std::invalid_argument("the array " + ShapeText(array) + " is too large for an image");
  }
  const bool eightBit = array.dtype().is(py::dtype::of<std::uint8_t>());
  if (!eightBit && !array.dtype().is(py::dtype::of<std::uint16_t>())) {
    throw std::invalid_argument("expected a uint8 or uint16 array, got " + std::string(py::str(array.dtype())));
  }
  const int unitBits = eightBit ? 8 : 16;
  const int bits = inputBits.value_or(unitBits);
  if (bits < 1 || bits > unitBits) {
    throw std::invalid_argument("input_bits must be 1 to " + std::to_string(unitBits) + " for " +
                                std::string(py::str(array.dtype())) + " data, got " + std::to_string(bits));
  }
  return eightBit ? CopyGrey<std::uint8_t>(array, static_cast<UINT>(bits))
                  : CopyGrey<std::uint16_t>(array, static_cast<UINT>(bits));
}

py::array ArrayFromColourImage(const xelfw::Image& image) {
  const std::vector<py::ssize_t> shape = {image.Height(), image.Width(), 3};
  py::array array = image.Layout().memBPC == 8 ? py::array(py::dtype::of<std::uint8_t>(), shape)
                                               : py::array(py::dtype::of<std::uint16_t>(), shape);
  std::memcpy(array.mutable_data(), image.Data(), image.FrameBytes());
  return array;
}

py::array ArrayFromTemperatures(const std::vector<float>& temperatures, const xelfw::Image& image) {
  py::array_t<float> array({static_cast<py::ssize_t>(image.Height()), static_cast<py::ssize_t>(image.Width())});
  std::memcpy(array.mutable_data(), temperatures.data(), temperatures.size() * sizeof(float));
  return array;
}

}  // namespace xelpy
