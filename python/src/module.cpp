// xelpseudocolor._core: the plug-in's two objects for numpy arrays. The Python package around it adds
// argument handling and matplotlib colour maps.
#include "frames.h"
#include "plugin.h"
#include "pseudocolor.h"
#include "temperature.h"

#include <xelhost/CalibrationFile.h>
#include <xelfw/IniStore.h>
#include <xelfw/PseudoColorProfiles.h>
#include <xelfw/ResultError.h>
#include <xelfw/TemperatureCalibration.h>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <array>
#include <charconv>
#include <optional>
#include <stdexcept>
#include <string>

namespace py = pybind11;

namespace xelpy {

namespace {

py::array PseudoColor(const py::array& array, unsigned profile, double lower, double upper, std::uint32_t autoMode,
                      std::optional<int> inputBits, unsigned outputBits, unsigned threads) {
  const xelfw::Image source = GreyImageFromArray(array, inputBits);
  const PseudoColorRequest request{profile, lower, upper, autoMode, outputBits, threads};
  const auto library = Plugin();
  std::optional<xelfw::Image> result;
  {
    const py::gil_scoped_release unlocked;
    result.emplace(RunPseudoColor(*library, source, request));
  }
  return ArrayFromColourImage(*result);
}

// (x, y, width, height): a non-empty rectangle inside the image, as `xelimg temperature --aoi` takes it.
xelfw::Aoi AoiInside(const std::array<long long, 4>& box, const xelfw::Image& image) {
  const auto [x, y, w, h] = box;
  const long long width = image.Width();
  const long long height = image.Height();
  if (x < 0 || y < 0 || w <= 0 || h <= 0 || x >= width || y >= height || w > width - x || h > height - y) {
    throw std::invalid_argument("aoi (" + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(w) +
                                ", " + std::to_string(h) + ") does not lie inside the " + std::to_string(width) +
                                " x " + std::to_string(height) + " image");
  }
  return xelfw::Aoi::FromSize(static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(w), static_cast<LONG>(h));
}

// The object's field text as a number, or None for "- N.A. -".
py::object FieldNumber(const std::string& text) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return py::none();
  return py::float_(value);
}

py::dict Measure(Thermometer& thermometer, const py::array& array, const std::optional<std::array<long long, 4>>& box,
                 std::optional<int> inputBits) {
  xelfw::Image frame = GreyImageFromArray(array, inputBits);
  const std::optional<xelfw::Aoi> aoi = box ? std::optional(AoiInside(*box, frame)) : std::nullopt;
  xelhost::TemperatureReading reading;
  {
    const py::gil_scoped_release unlocked;
    reading = thermometer.Measure(frame, aoi ? &*aoi : nullptr);
  }
  py::dict result;
  result["grey"] = reading.meanGrey;
  result["temperature"] = FieldNumber(reading.temperature);
  result["unit"] = reading.unit;
  result["epsilon"] = FieldNumber(reading.epsilon);
  return result;
}

void RegisterExceptions(py::module_& m) {
  static py::exception<xelfw::ResultError> processingError(m, "ProcessingError", PyExc_RuntimeError);
  py::register_exception_translator([](std::exception_ptr pending) {
    try {
      if (pending) std::rethrow_exception(pending);
    } catch (const xelfw::ResultError& error) {
      py::object exception = py::handle(processingError.ptr())(error.what());
      exception.attr("code") = error.Code();
      PyErr_SetObject(processingError.ptr(), exception.ptr());
    } catch (const xelfw::PluginError& error) {
      PyErr_SetString(PyExc_OSError, error.what());
    } catch (const xelfw::IniError& error) {
      PyErr_SetString(PyExc_OSError, error.what());
    } catch (const xelhost::CalibrationError& error) {
      PyErr_SetString(PyExc_ValueError, error.what());
    }
  });
}

}  // namespace

}  // namespace xelpy

PYBIND11_MODULE(_core, m) {
  using namespace xelpy;
  RememberModuleDirectory();
  RegisterExceptions(m);

  m.def("plugin_path", &PluginPath, "The plug-in library the module loads (or has loaded).");
  m.def("profile_count", [] { return ProfileCount(*Plugin()); });
  m.def("profile_name", &xelfw::PseudoColorProfileName, py::arg("index"));
  m.def("find_profile", &xelfw::FindPseudoColorProfile, py::arg("text"), py::arg("count"));
  m.def("pseudocolor", &PseudoColor, py::arg("array"), py::arg("profile"), py::arg("lower"), py::arg("upper"),
        py::arg("auto_mode"), py::arg("input_bits"), py::arg("out_bits"), py::arg("threads"));

  py::class_<Thermometer>(m, "Thermometer")
      .def(py::init([](const std::optional<std::filesystem::path>& calibration, std::optional<double> epsilon) {
             return std::make_unique<Thermometer>(Plugin(), calibration, epsilon);
           }),
           py::arg("calibration"), py::arg("epsilon"))
      .def("measure", &Measure, py::arg("array"), py::arg("aoi"), py::arg("input_bits"));
}
