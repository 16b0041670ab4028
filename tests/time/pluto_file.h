// Small helpers that write Pluto table files for the tests: the real table
// is shipped data and need not be present while the tests run.
#pragma once

#include <functional>
#include <string>

#include "app/time/pluto_table.h"

namespace vemo::testing {

// The text of a complete table (219 147 day lines, CR LF) whose day k holds
// degreesOfDay(k), encoded to whole arcseconds.
inline std::string PlutoText(const std::function<double(int)>& degreesOfDay, int days = kPlutoRequiredDays,
                             const std::string& lineEnd = "\r\n") {
    std::string text;
    text.reserve(static_cast<size_t>(days) * 8);
    for (int k = 0; k < days; ++k) {
        text += EncodePlutoLine(degreesOfDay(k), k);
        text += lineEnd;
    }
    return text;
}

// A slow smooth motion through the whole circle, like Pluto's 248-year orbit
// seen over 600 years: 360 deg / 90 000 days, starting at 100 deg.
inline double SmoothPluto(int k) {
    const double d = 100.0 + k * (360.0 / 90000.0);
    return d - 360.0 * static_cast<int>(d / 360.0);
}

}  // namespace vemo::testing
