// Time: calendar helpers.
#pragma once

#include <cstdint>

class Time {
public:
    // Seconds since 1970-01-01 00:00:00 UTC of the given local time, read
    // without daylight-saving time (month 1 to 12). The fields are not
    // range-checked; a time the C library cannot convert raises message
    // 1024 "The date is invalid".
    static std::int64_t FromFields(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                                   std::uint16_t hour, std::uint16_t minute, std::uint16_t second);
};
