// The running program's own file.
#pragma once

#include "modules/system/String.h"

// Full path of the executable file of the running process, cut to 1023
// units. Raises message 1037 when the path cannot be read.
System::String GetModulePath();
// The folder of GetModulePath(), without a trailing slash.
System::String GetModuleDirectory();
