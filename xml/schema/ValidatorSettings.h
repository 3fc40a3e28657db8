// Settings of the attribute validator, read during start-up.
#pragma once

namespace ValidatorSettings {
// "Core" / "Log Trace Diagnostics", default false: measure the time the
// validator spends.
extern const bool measureTime;
}  // namespace ValidatorSettings
