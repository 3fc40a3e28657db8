#include "platform/ProcessorInfo.h"

#include <sched.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace platform {

std::uint32_t SystemProcessorCount() {
    const long n = sysconf(_SC_NPROCESSORS_ONLN);
    return n > 0 ? static_cast<std::uint32_t>(n) : 1;
}

std::vector<std::uint32_t> AffinityProcessors() {
    std::vector<std::uint32_t> processors;
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0)
        return processors;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &set))
            processors.push_back(static_cast<std::uint32_t>(cpu));
    }
    return processors;
}

std::int32_t PhysicalPackageOf(std::uint32_t processor) {
    std::ifstream file("/sys/devices/system/cpu/cpu" + std::to_string(processor) +
                       "/topology/physical_package_id");
    std::int32_t package = -1;
    if (!(file >> package))
        return -1;
    return package;
}

}  // namespace platform
