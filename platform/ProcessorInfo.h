// Processors of the machine and of the process.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// The processors the operating system has online.
std::uint32_t SystemProcessorCount();
// The processors in the calling process's affinity mask (sched_getaffinity),
// by number; empty when the mask cannot be read.
std::vector<std::uint32_t> AffinityProcessors();
// The physical package (socket) of a processor, from
// /sys/devices/system/cpu/cpuN/topology/physical_package_id; -1 when unknown.
std::int32_t PhysicalPackageOf(std::uint32_t processor);

}  // namespace platform
