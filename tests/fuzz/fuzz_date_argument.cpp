// The command line's date argument and the date-row conversion it feeds: the
// input is read as an argument, and also as a row of list positions and year
// text that the window could hold.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/time/date_argument.h"
#include "app/time/dates.h"
#include "app/time/timezones.h"
#include "platform/ordalin/ordalin.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using vemo::DateRow;

bool IsErrorCode(double v) { return v == -1 || v == -2 || v == -3 || v == -4; }

void CheckConversion(const DateRow& row, int localZoneIndex) {
    const vemo::DateConversion local = vemo::InputDateToLocalJD(row);
    const vemo::DateConversion ajd = vemo::InputDateToAJDate(row, localZoneIndex);
    const int dayNumber = vemo::DateRowDayNumber(row);
    FUZZ_CHECK(ajd.row.yearText == vemo::CleanYearText(row.yearText));
    FUZZ_CHECK(ajd.row.yearText.find_first_not_of("0123456789") == std::string::npos);
    if (!local.ok()) {
        FUZZ_CHECK(IsErrorCode(local.value) && ajd.value == local.value && dayNumber == local.value);
        return;
    }
    FUZZ_CHECK(ajd.ok());
    FUZZ_CHECK(dayNumber >= vemo::kFirstDayNumber && dayNumber <= vemo::kLastDayNumber);
    FUZZ_CHECK(std::floor(local.value) == dayNumber);
    const int hour = ajd.row.hourIndex;
    FUZZ_CHECK(hour >= 1 && hour < vemo::kHourEntries && hour == local.row.hourIndex);
    FUZZ_CHECK(row.hourIndex <= 0 || row.hourIndex >= vemo::kHourEntries || hour == row.hourIndex);
    FUZZ_CHECK(local.value == dayNumber + (hour - 1) * 30.0 / 1440.0);
    const int zone = ajd.row.zoneIndex;
    FUZZ_CHECK(zone >= 0 && zone < vemo::kTimezoneEntries);
    FUZZ_CHECK(row.zoneIndex <= 0 || row.zoneIndex >= vemo::kTimezoneEntries || zone == row.zoneIndex);
    FUZZ_CHECK(ajd.value == local.value - vemo::TimezoneMinutesOfEntry(zone) / 1440.0 - 0.5);

    // The day number names the row's own calendar date.
    EuroDate date{0, 0, 0, ORDALIN_GREGORIAN, dayNumber, 0};
    jdn_to_euro_date(&date);
    FUZZ_CHECK(std::to_string(date.year) == ajd.row.yearText.substr(ajd.row.yearText.find_first_not_of('0')));
    FUZZ_CHECK(date.month == row.monthIndex && date.day == row.dayIndex);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int localZoneIndex = size > 0 ? data[size - 1] % (vemo::kTimezoneEntries + 1) : 0;

    const DateRow untouched{"untouched", 40, 40, 60, 60};
    DateRow row = untouched;
    const std::string error = vemo::ParseDateArgument(text, row);
    if (!error.empty()) {
        FUZZ_CHECK(row == untouched);
    } else {
        FUZZ_CHECK(!row.yearText.empty() && row.yearText.size() <= 4);
        FUZZ_CHECK(row.monthIndex >= 1 && row.monthIndex <= 12 && row.dayIndex >= 1 && row.dayIndex <= 31);
        FUZZ_CHECK(row.hourIndex >= 0 && row.hourIndex < vemo::kHourEntries);
        FUZZ_CHECK(row.zoneIndex >= 0 && row.zoneIndex < vemo::kTimezoneEntries);
        // The argument written in its plain form reads back to the same row.
        std::string plain = row.yearText + "-" + (row.monthIndex < 10 ? "0" : "") + std::to_string(row.monthIndex) +
                            "-" + (row.dayIndex < 10 ? "0" : "") + std::to_string(row.dayIndex);
        if (row.hourIndex > 0) plain += "T" + vemo::HourEntryText(row.hourIndex);
        if (row.zoneIndex > 0 && row.hourIndex == 0) {
            plain += "Z";  // the only zone that may follow the date directly
        } else if (row.zoneIndex > 0) {
            const int minutes = vemo::TimezoneMinutesOfEntry(row.zoneIndex);
            char zone[16];
            std::snprintf(zone, sizeof zone, "%c%02d:%02d", minutes < 0 ? '-' : '+', std::abs(minutes) / 60,
                          std::abs(minutes) % 60);
            plain += zone;
        }
        DateRow again;
        FUZZ_CHECK(vemo::ParseDateArgument(plain, again).empty() && again == row);
        CheckConversion(row, localZoneIndex);
    }

    // The same bytes as a window's row: four list positions (some outside
    // their lists) and the rest as the year box's text.
    if (size >= 4) {
        const DateRow windowRow{text.substr(4), data[0] % 15 - 1, data[1] % 34 - 1, data[2] % 51 - 1,
                                data[3] % 50 - 1};
        CheckConversion(windowRow, localZoneIndex);
    }
    return 0;
}
