// Settings of document loading, read during start-up.
#pragma once

#include <cstdint>

namespace LoaderSettings {
// "Core" / "Log Trace Diagnostics", default false: trace the time spent
// validating a loaded document.
extern const bool traceValidationTime;
// "LXml" / "Enable Validation", default true: whether the loader validates
// attributes against the schemas.
extern const bool enableValidation;
// "LXml" / "Max Document Size", default 0: non-zero makes the object
// factories and text appends report document sizes to the root object.
extern const std::uint32_t maxDocumentSize;
}  // namespace LoaderSettings
