#include "app/time/dates.h"

#include <cmath>

#include "app/time/date_texts.h"
#include "app/time/timezones.h"
#include "platform/ordalin/ordalin.h"

namespace vemo {

namespace {

// Year of a cleaned (digits only) year text, or the error code it earns. A
// text longer than any 32-bit number is simply too late: leading zeros are
// skipped and any value above the last year stops the scan, so nothing
// overflows.
double YearOrError(const std::string& digits, int* year) {
    long long value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value > kLastYear) return kDateTooLate;
    }
    if (value < kFirstYear) return kDateTooEarly;
    *year = static_cast<int>(value);
    return 0;
}

// Steps shared by both conversions: clean the year, check the blanks, get the
// day number, check the range, default the hour. Returns the day number in
// *jdn, or an error code; row is updated with the visible side effects.
double DayNumberAndHour(DateRow& row, int* jdn) {
    row.yearText = CleanYearText(row.yearText);
    if (row.yearText.empty() || row.monthIndex <= 0 || row.dayIndex <= 0) return kDateIncomplete;
    int year = 0;
    if (double code = YearOrError(row.yearText, &year); code < 0) return code;
    if (row.monthIndex >= kMonthEntries || row.dayIndex >= kDayEntries) return kDateImpossible;

    EuroDate date{year, row.monthIndex, row.dayIndex, ORDALIN_GREGORIAN, 0, 0};
    const int32_t dayNumber = euro_date_to_jdn(&date);
    if (date.valid == 0) return kDateImpossible;
    if (dayNumber < kFirstDayNumber) return kDateTooEarly;
    if (dayNumber > kLastDayNumber) return kDateTooLate;

    if (row.hourIndex <= 0 || row.hourIndex >= kHourEntries) row.hourIndex = kNoonHourIndex;
    *jdn = dayNumber;
    return 0;
}

double MinutesOfHourIndex(int hourIndex) { return (hourIndex - 1) * 30.0; }

}  // namespace

std::string CleanYearText(const std::string& yearText) {
    // Keeping "0123456789-+" and then dropping a leading sign and every later
    // non-digit leaves exactly the digits.
    std::string digits;
    for (char c : yearText) {
        if (c >= '0' && c <= '9') digits += c;
    }
    return digits;
}

int DateRowDayNumber(const DateRow& row) {
    DateRow copy = row;
    int jdn = 0;
    const double code = DayNumberAndHour(copy, &jdn);
    return code < 0 ? static_cast<int>(code) : jdn;
}

DateConversion InputDateToLocalJD(const DateRow& row) {
    DateConversion result;
    result.row = row;
    int jdn = 0;
    if (double code = DayNumberAndHour(result.row, &jdn); code < 0) {
        result.value = code;
        return result;
    }
    result.value = jdn + MinutesOfHourIndex(result.row.hourIndex) / 1440.0;
    return result;
}

DateConversion InputDateToAJDate(const DateRow& row, int localZoneIndex) {
    DateConversion result = InputDateToLocalJD(row);
    if (result.value < 0) return result;
    if (result.row.zoneIndex <= 0 || result.row.zoneIndex >= kTimezoneEntries) {
        result.row.zoneIndex = (localZoneIndex > 0 && localZoneIndex < kTimezoneEntries) ? localZoneIndex : 0;
    }
    const double z = TimezoneMinutesOfEntry(result.row.zoneIndex);
    // Local day count first, then the zone and the half day, in this order so
    // that results match the window's to the bit.
    result.value = result.value - z / 1440.0 - 0.5;
    return result;
}

std::string InputDateToString(const DateRow& row, bool shortMonths, int language,
                              const TimezoneList& zones, DateRow* rowAfter) {
    const DateConversion local = InputDateToLocalJD(row);
    if (rowAfter != nullptr) *rowAfter = local.row;
    if (local.value < 0) return "";
    const int jdn = static_cast<int>(std::floor(local.value));
    return JdnToDateText(jdn, shortMonths, language) + ", " + HourEntryText(local.row.hourIndex) +
           " (" + zones.Text(local.row.zoneIndex) + ")";
}

std::string HourEntryText(int hourIndex) {
    if (hourIndex <= 0 || hourIndex >= kHourEntries) return "";
    const int minutes = (hourIndex - 1) * 30;
    const int h = minutes / 60;
    std::string text;
    text += static_cast<char>('0' + h / 10);
    text += static_cast<char>('0' + h % 10);
    text += (minutes % 60 == 0) ? ":00" : ":30";
    return text;
}

std::string DateErrorMessage(int row, double storedValue, const ProgramTextLookup& text) {
    if (row < 0 || row > 2 || !text || !std::isfinite(storedValue)) return "";
    const double code = std::nearbyint(storedValue);
    if (code > -1 || code < -4) return "";
    const int reasonItem = kDateErrorFirstItem + static_cast<int>(-code) - 1;
    return text(kRowNameItem[row]) + " " + text(reasonItem);
}

std::string ZoneNotListedNotice(int systemMinutes, const ProgramTextLookup& text) {
    if (!text) return "";
    std::string notice = text(kZoneNotListedItem);
    const std::string marker = "[zone]";
    if (const size_t p = notice.find(marker); p != std::string::npos) {
        notice.replace(p, marker.size(), ZoneOffsetText(systemMinutes));
    }
    return notice;
}

}  // namespace vemo
