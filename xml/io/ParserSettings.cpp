#include "xml/io/ParserSettings.h"

#include "services/Settings.h"

namespace ParserSettings {
const bool traceComponentChoice = ReadBoolSetting(u"Core", u"Log Trace Diagnostics", false);
}  // namespace ParserSettings
