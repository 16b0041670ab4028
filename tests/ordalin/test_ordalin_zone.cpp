// The calendar stand-in's zone offset under zones set through the TZ
// variable (setenv and POSIX zone strings, so POSIX systems only).

#include "platform/ordalin/ordalin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// POSIX zone strings without daylight rules give a fixed offset at any instant;
// their sign convention (hours west positive) is the library's.
TEST(TimeZone, OffsetIsSecondsPositiveWest) {
    const char *saved = std::getenv("TZ");
    const std::string restore = saved ? saved : "";
    const struct {
        const char *tz;
        int32_t seconds;
    } rows[] = {{"UTC0", 0}, {"EST5", 5 * 3600}, {"CET-1", -3600}, {"IST-5:30", -19800}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.tz);
        setenv("TZ", row.tz, 1);
        tzset();
        EXPECT_EQ(get_timezone(), row.seconds);
    }
    if (saved) {
        setenv("TZ", restore.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace
