// The present instant under zones set through the TZ variable (setenv and
// POSIX zone strings, so POSIX systems only).
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "app/time/date_texts.h"

namespace vemo {
namespace {

// Reads the clock under several zones (POSIX TZ strings, so no zone database
// is needed) and checks that the AJD is UT every time: the comparison is
// between two readings of the same clock, never with a fixed "now".
TEST(CurrentAJD, IsUniversalTimeWhateverTheComputersZone) {
    const char* saved = std::getenv("TZ");
    const std::string savedZone = saved != nullptr ? saved : "";
    for (const char* zone : {"UTC0", "CET-1", "NPT-5:45", "NST3:30", "AEST-10AEDT,M10.1.0,M4.1.0/3"}) {
        SCOPED_TRACE(zone);
        setenv("TZ", zone, 1);
        tzset();
        const double ut = static_cast<double>(std::time(nullptr)) / 86400.0 + 2440587.5;
        EXPECT_NEAR(CurrentAJD(), ut, 3.0 / 86400);  // three seconds of clock ticks
    }
    if (saved != nullptr) {
        setenv("TZ", savedZone.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace
}  // namespace vemo
