#include "services/ProcessorCount.h"

#include <set>

#include "platform/ProcessorInfo.h"

std::uint32_t GetProcessorCount() {
    const std::uint32_t system = platform::SystemProcessorCount();
    const auto affinity = platform::AffinityProcessors();
    if (affinity.size() != system)
        return system;
    std::set<std::int32_t> packages;
    for (std::uint32_t processor : affinity) {
        const std::int32_t package = platform::PhysicalPackageOf(processor);
        if (package < 0)
            return system;
        packages.insert(package);
    }
    return packages.empty() ? system : static_cast<std::uint32_t>(packages.size());
}
