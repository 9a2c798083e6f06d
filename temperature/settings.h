// Conversion settings and calibration coefficients of the temperature display object: the record, its
// keys and defaults are published beside the plug-in's other records.
#pragma once

#include <XelPseudoColor/TemperatureRecord.h>

// UnitDesc as text, even when the record holds no terminating NUL in its 32 bytes.
int UnitDescLength(const TTemperatureSettings& settings);
