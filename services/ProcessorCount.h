// The number of physical processor packages the process runs on.
#pragma once

#include <cstdint>

// When the process may not use every processor of the system (its affinity
// mask is narrower), the system's processor count. Otherwise the number of
// distinct physical packages among the processors, or the system's count
// when the topology cannot be read.
std::uint32_t GetProcessorCount();
