#include "temperature/CXelTemperatureDisplayClass.h"

// The dialog redraws from the object's state in its own thread; until the host has made the dialog
// there is nobody to tell.
void CXelTemperatureDisplayClass::RefreshDialog(UINT /*bits*/) {}
