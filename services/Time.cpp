#include "services/Time.h"

#include <ctime>

#include "modules/system/Exception.h"

namespace {
constexpr std::int32_t kDateInvalid = 1024;
}

std::int64_t Time::FromFields(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                              std::uint16_t hour, std::uint16_t minute, std::uint16_t second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = 0;
    const std::time_t seconds = std::mktime(&fields);
    if (seconds == static_cast<std::time_t>(-1))
        COREKIT_RAISE(System::Exception(kDateInvalid));
    return static_cast<std::int64_t>(seconds);
}
