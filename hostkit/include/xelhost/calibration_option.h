// --ini CALIB.ini and --epsilon: the temperature calibration a command works with, read strictly.
#pragma once

#include <xelhost/arguments.h>
#include <xelhost/framework_types.h>

#include <xelfw/PluginLoader.h>
#include <xelfw/TemperatureCalibration.h>

#include <optional>
#include <string>

namespace xelhost {

inline constexpr OptionSpec kCalibrationOption{"ini", true};
inline constexpr OptionSpec kEpsilonOption{"epsilon", true};

// Nothing without --ini or --epsilon; the object's defaults with --epsilon alone. Throws CommandError
// naming the file and the line or key of a calibration that is refused, UsageError for an --epsilon
// outside (0, 1]. A --range among the arguments without --ini is a window in the linear default
// unit, not in a calibrated temperature: LinearUnitNotice goes to stderr then, once a run.
std::optional<xelfw::TemperatureCalibration> ReadCalibrationOption(const Arguments& args,
                                                                   const xelfw::PluginLibrary& library);

// What a window in the display unit means without a calibration, in one line.
XEL_HOST_API std::string LinearUnitNotice();

}  // namespace xelhost
