#include "xml/schema/ValidatorSettings.h"

#include "services/Settings.h"

namespace ValidatorSettings {
const bool measureTime = ReadBoolSetting(u"Core", u"Log Trace Diagnostics", false);
}  // namespace ValidatorSettings
