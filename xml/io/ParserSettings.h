// Settings of the parser component factories, read during start-up.
#pragma once

namespace ParserSettings {
// "Core" / "Log Trace Diagnostics", default false: trace which parser
// component version the factories chose.
extern const bool traceComponentChoice;
}  // namespace ParserSettings
