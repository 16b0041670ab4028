// ordalin: calendar conversions on the proleptic Gregorian calendar.
//
// Day counting follows H. Hinnant, "chrono-Compatible Low-Level Date
// Algorithms" (days_from_civil / civil_from_days): eras of 400 Gregorian years
// (146097 days) make the arithmetic exact for negative years too.

#include "platform/ordalin/ordalin.h"

#include <cmath>
#include <cstdint>
#include <ctime>

namespace {

// Day number of 1 January 1970, the epoch of the era arithmetic below.
constexpr int64_t kJdnOf1970 = 2440588;
// Days in one 400-year Gregorian cycle.
constexpr int64_t kDaysPerEra = 146097;
// Largest year magnitude accepted: keeps every day number inside int32.
constexpr int64_t kMaxAbsYear = 5000000;

int64_t floor_div(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

bool is_leap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int days_in_month(int64_t y, int m) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (m == 2 && is_leap(y)) ? 29 : kDays[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t days_from_civil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = floor_div(y, 400);
    const int64_t yoe = y - era * 400;                                   // [0, 399]
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;  // [0, 365]
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;           // [0, 146096]
    return era * kDaysPerEra + doe - 719468;
}

void civil_from_days(int64_t z, int64_t &y, int &m, int &d) {
    z += 719468;
    const int64_t era = floor_div(z, kDaysPerEra);
    const int64_t doe = z - era * kDaysPerEra;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2);
}

// Seconds since midnight 1970-01-01 of a broken-down time read as UT.
int64_t seconds_of(const std::tm &t) {
    return days_from_civil(int64_t{t.tm_year} + 1900, t.tm_mon + 1, t.tm_mday) * 86400 +
           int64_t{t.tm_hour} * 3600 + int64_t{t.tm_min} * 60 + t.tm_sec;
}

}  // namespace

extern "C" {

int32_t euro_date_to_jdn(EuroDate *d) {
    if (d == nullptr) return 0;
    const int64_t y = d->year;
    const bool exists = d->calendar == ORDALIN_GREGORIAN && y >= -kMaxAbsYear &&
                        y <= kMaxAbsYear && d->month >= 1 && d->month <= 12 && d->day >= 1 &&
                        d->day <= days_in_month(y, d->month);
    if (!exists) {
        d->jdn = 0;
        d->valid = 0;
        return 0;
    }
    d->jdn = static_cast<int32_t>(days_from_civil(y, d->month, d->day) + kJdnOf1970);
    d->valid = 1;
    return d->jdn;
}

void jdn_to_euro_date(EuroDate *d) {
    if (d == nullptr) return;
    if (d->calendar != ORDALIN_GREGORIAN) {
        d->valid = 0;
        return;
    }
    int64_t y = 0;
    int m = 0, day = 0;
    civil_from_days(int64_t{d->jdn} - kJdnOf1970, y, m, day);
    d->year = static_cast<int32_t>(y);  // |y| < 6 million for any int32 day number
    d->month = m;
    d->day = day;
    d->valid = 1;
}

int32_t euro_day_of_week(int32_t jdn) {
    // Day number 0 (1 January 4713 BC, Julian calendar) was a Monday.
    const int64_t w = (int64_t{jdn} + 1) % 7;
    return static_cast<int32_t>(w < 0 ? w + 7 : w);
}

int32_t get_timezone(void) {
    // The offset is read at the present instant, so it includes daylight
    // saving time when it is in force now. Local minus UT broken-down times
    // gives the offset east; the library's convention is positive west.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    std::tm utc{};
#if defined(_WIN32)
    if (localtime_s(&local, &now) != 0 || gmtime_s(&utc, &now) != 0) return 0;
#else
    if (localtime_r(&now, &local) == nullptr || gmtime_r(&now, &utc) == nullptr) return 0;
#endif
    return static_cast<int32_t>(seconds_of(utc) - seconds_of(local));
}

int32_t juldat(double jd, const char *mode, int32_t *year, int32_t *month, int32_t *day,
               int32_t *jdn) {
    if (mode == nullptr || mode[0] != 'A' || mode[1] != '\0') return -1;
    if (!std::isfinite(jd)) return -1;
    // The civil day begins at midnight, half a day before the Julian date of
    // its noon.
    const double dn = std::floor(jd + 0.5);
    if (dn < -2147483648.0 || dn > 2147483647.0) return -1;
    EuroDate d{0, 0, 0, ORDALIN_GREGORIAN, static_cast<int32_t>(dn), 0};
    jdn_to_euro_date(&d);
    if (year != nullptr) *year = d.year;
    if (month != nullptr) *month = d.month;
    if (day != nullptr) *day = d.day;
    if (jdn != nullptr) *jdn = d.jdn;
    return 0;
}

int32_t separate_thousands(const char *digits, char sep, char *result) {
    if (result == nullptr) return -1;
    result[0] = '\0';
    if (digits == nullptr) return -1;
    const char *p = digits;
    const bool sign = *p == '-' || *p == '+';
    if (sign) ++p;
    int n = 0;
    while (p[n] >= '0' && p[n] <= '9') ++n;
    if (n == 0 || p[n] != '\0') return -1;
    const int length = (sign ? 1 : 0) + n + (n - 1) / 3;
    if (length > ORDALIN_THOUSANDS_BUFFER - 1) return -1;
    int out = 0;
    if (sign) result[out++] = digits[0];
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) result[out++] = sep;
        result[out++] = p[i];
    }
    result[out] = '\0';
    return out;
}

}  // extern "C"
