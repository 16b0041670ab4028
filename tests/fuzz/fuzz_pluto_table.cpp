// The Pluto table: a text decoded as the first days of the table, checked
// against the line decoder, then completed with known days to a full table
// that must be accepted and answer longitudes in range at any date.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/time/pluto_table.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using vemo::kPlutoFirstDayNumber;
using vemo::kPlutoLastDayNumber;
using vemo::kPlutoRequiredDays;

constexpr double kFullCircle = 6.28318530717959;  // the program's 2 pi
constexpr size_t kFillerLineBytes = 6;              // four codes and CR LF

// Encoded lines of every day of the table, the shipped CR LF form, with a
// longitude that passes through 0 degrees twice.
const std::string& Filler() {
    static const std::string filler = [] {
        std::string s;
        s.reserve(kPlutoRequiredDays * kFillerLineBytes);
        for (int k = 0; k < kPlutoRequiredDays; ++k) s += vemo::EncodePlutoLine(std::fmod(300.0 + k * 0.004, 360.0), k) + "\r\n";
        return s;
    }();
    return filler;
}

bool IsTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The kept lines of text through DecodePlutoLine: false at the first line that
// does not decode; days receives the degrees of the lines before it.
bool DecodeLines(std::string_view text, std::vector<double>& days) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        while (!line.empty() && IsTrimmed(line.front())) line.remove_prefix(1);
        while (!line.empty() && IsTrimmed(line.back())) line.remove_suffix(1);
        if (line.empty()) continue;
        double degrees = 0;
        if (!vemo::DecodePlutoLine(line, static_cast<int>(days.size()), &degrees)) return false;
        FUZZ_CHECK(degrees >= 0 && degrees < 360);
        days.push_back(degrees);
    }
    return true;
}

void CheckFullTable(const vemo::PlutoTable& table, const std::vector<double>& days, uint64_t seed) {
    FUZZ_CHECK(table.Available() && table.DayCount() == kPlutoRequiredDays);
    for (size_t k = 0; k < days.size(); ++k) FUZZ_CHECK(table.DegreesOfDay(static_cast<int>(k)) == days[k]);
    FUZZ_CHECK(table.DegreesOfDay(-1) == -99 && table.DegreesOfDay(kPlutoRequiredDays) == -100);

    const double first = kPlutoFirstDayNumber - 0.5;
    const double end = kPlutoLastDayNumber + 0.5;  // 1 January 2200, 0h UT
    FUZZ_CHECK(table.Longitude(std::nextafter(first, 0.0)) == -99);
    FUZZ_CHECK(table.Longitude(NAN) == -99 && table.Longitude(-INFINITY) == -99);
    FUZZ_CHECK(table.Longitude(end) == -100 && table.Longitude(INFINITY) == -100);
    // At 0h UT of a day the longitude is that day's value (up to the rounding
    // of a passage through 0 degrees).
    FUZZ_CHECK(std::abs(table.Longitude(first) - table.DegreesOfDay(0) / 360 * kFullCircle) < 1e-12);

    // The last 0h, the joint of the input's days and the filler, and dates spread by the seed.
    const double joint = first + std::max<double>(days.size(), 1);
    std::vector<double> dates = {std::nextafter(end, 0.0), joint, joint - 0.25};
    for (int i = 0; i < 6; ++i) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        dates.push_back(first + static_cast<double>(seed >> 11) / 9007199254740992.0 * (end - first));
    }
    for (double ajd : dates) {
        const double lon = table.Longitude(ajd);
        FUZZ_CHECK(lon >= 0 && lon < kFullCircle);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<double> days;
    const bool linesDecode = DecodeLines(text, days);

    vemo::PlutoTable table;
    const std::string verdict = table.LoadFromText(text, "fuzz.slx");
    const bool whole = linesDecode && static_cast<int>(days.size()) >= kPlutoRequiredDays;
    FUZZ_CHECK(verdict.empty() == whole);
    if (!whole) {
        FUZZ_CHECK(!table.Available() && table.DayCount() == 0);
        FUZZ_CHECK(table.Longitude(2451545.0) == -103 && table.Longitude(NAN) == -103);
        FUZZ_CHECK(table.DegreesOfDay(0) == -100);
    }
    if (!linesDecode || whole) return 0;

    // The input's days followed by the remaining days of the filler.
    std::string full(text);
    full += '\n';
    full.append(Filler(), days.size() * kFillerLineBytes);
    FUZZ_CHECK(table.LoadFromText(full, "fuzz.slx").empty());
    uint64_t seed = 1469598103934665603ULL;
    for (unsigned char c : text) seed = (seed ^ c) * 1099511628211ULL;
    CheckFullTable(table, days, seed);
    return 0;
}
