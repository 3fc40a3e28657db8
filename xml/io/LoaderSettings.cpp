#include "xml/io/LoaderSettings.h"

#include "services/Settings.h"

namespace LoaderSettings {
const bool traceValidationTime = ReadBoolSetting(u"Core", u"Log Trace Diagnostics", false);
const bool enableValidation = ReadBoolSetting(u"LXml", u"Enable Validation", true);
const std::uint32_t maxDocumentSize = ReadIntSetting(u"LXml", u"Max Document Size", 0);
}  // namespace LoaderSettings
