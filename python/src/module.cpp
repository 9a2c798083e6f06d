// xelpseudocolor._core: the plug-in's two objects for numpy arrays. The Python package around it adds
// argument handling and matplotlib colour maps.
#include "frames.h"
#include "plugin.h"
#include "pseudocolor.h"
#include "temperature.h"

#include <xelhost/AreaStatistics.h>
#include <xelhost/CalibrationFile.h>
#include <xelhost/area_record.h>
#include <xelhost/calibration_option.h>
#include <xelhost/errors.h>

#include <xelfw/IniStore.h>
#include <xelfw/PseudoColorProfiles.h>
#include <xelfw/ResultError.h>
#include <xelfw/TemperatureCalibration.h>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace py = pybind11;

namespace xelpy {

namespace {

py::array PseudoColor(const py::array& array, const std::vector<std::string>& options, std::optional<int> inputBits,
                      const Thermometer* calibration) {
  const xelfw::Image source = GreyImageFromArray(array, inputBits);
  const auto library = Plugin();
  std::optional<xelfw::TemperatureCalibration> unit;
  if (calibration != nullptr) unit = calibration->Calibration();
  std::optional<xelfw::Image> result;
  {
    const py::gil_scoped_release unlocked;
    result.emplace(RunPseudoColor(*library, source, options, unit));
  }
  return ArrayFromColourImage(*result);
}

py::object FieldValue(const xelhost::RecordValue& value) {
  return std::visit(
      [](const auto& v) -> py::object {
        using Value = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<Value, std::monostate>) {
          return py::none();
        } else {
          return py::cast(v);
        }
      },
      value);
}

py::list Dicts(const std::vector<std::vector<xelhost::RecordField>>& records) {
  py::list result;
  for (const auto& record : records) {
    // The origin keys of xelimg's JSON lines: one frame, from no file or stream.
    py::dict fields;
    fields["frame"] = 0;
    fields["source"] = py::none();
    fields["page"] = 0;
    fields["time"] = py::none();
    for (const xelhost::RecordField& field : record) fields[py::str(std::string(field.name))] = FieldValue(field.value);
    result.append(std::move(fields));
  }
  return result;
}

py::list MeasureAreas(Thermometer& thermometer, const py::array& array, const std::vector<std::string>& areas,
                      std::optional<int> inputBits) {
  xelfw::Image frame = GreyImageFromArray(array, inputBits);
  std::vector<std::vector<xelhost::RecordField>> records;
  {
    const py::gil_scoped_release unlocked;
    records = thermometer.MeasureAreas(frame, areas);
  }
  return Dicts(records);
}

py::list LineSamples(const Thermometer& thermometer, const py::array& array, long x1, long y1, long x2, long y2,
                     std::optional<int> inputBits) {
  const xelfw::Image frame = GreyImageFromArray(array, inputBits);
  std::vector<std::vector<xelhost::RecordField>> records;
  {
    const py::gil_scoped_release unlocked;
    records = thermometer.Line(frame, x1, y1, x2, y2);
  }
  return Dicts(records);
}

py::array TemperatureMap(const Thermometer& thermometer, const py::array& array, std::optional<int> inputBits) {
  const xelfw::Image frame = GreyImageFromArray(array, inputBits);
  std::vector<float> temperatures;
  {
    const py::gil_scoped_release unlocked;
    temperatures = xelhost::TemperatureMap(frame, thermometer.Calibration());
  }
  return ArrayFromTemperatures(temperatures, frame);
}

// A refused option names it as xelimg's command line does ("--lower"); Python calls it a keyword.
std::string WithoutDashes(std::string text) {
  for (std::size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at)) text.erase(at, 2);
  return text;
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
    } catch (const xelhost::CommandError& error) {
      py::object exception = py::handle(processingError.ptr())(error.what());
      exception.attr("code") = py::none();
      PyErr_SetObject(processingError.ptr(), exception.ptr());
    } catch (const xelhost::UsageError& error) {
      PyErr_SetString(PyExc_ValueError, WithoutDashes(error.what()).c_str());
    } catch (const std::bad_alloc&) {
      PyErr_NoMemory();
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

  m.def("linear_unit_notice", &xelhost::LinearUnitNotice);
  m.def("plugin_path", &PluginPath, "The plug-in library the module loads (or has loaded).");
  m.def("profile_count", [] { return ProfileCount(*Plugin()); });
  m.def("profile_name", &xelfw::PseudoColorProfileName, py::arg("index"));
  m.def("find_profile", &xelfw::FindPseudoColorProfile, py::arg("text"), py::arg("count"));
  m.def("pseudocolor", &PseudoColor, py::arg("array"), py::arg("options"), py::arg("input_bits"),
        py::arg("calibration"));

  py::class_<Thermometer>(m, "Thermometer")
      .def(py::init([](const std::vector<std::string>& options) {
             return std::make_unique<Thermometer>(Plugin(), options);
           }),
           py::arg("options"))
      .def("measure_areas", &MeasureAreas, py::arg("array"), py::arg("areas"), py::arg("input_bits"))
      .def("line", &LineSamples, py::arg("array"), py::arg("x1"), py::arg("y1"), py::arg("x2"), py::arg("y2"),
           py::arg("input_bits"))
      .def("map", &TemperatureMap, py::arg("array"), py::arg("input_bits"));
}
