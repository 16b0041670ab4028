/*
 * Outer-planet data files: Jupiter, Saturn, Uranus and Neptune from
 * polynomial coefficients, one 235-byte text record per five calendar years.
 * See outer_files.h for the record layout.
 *
 * This file decodes and evaluates records and checks what they give; reading
 * them, and keeping them between requests, is record_files.c. Nothing here
 * keeps state between calls except the "C" locale of the conversions, made
 * once: every function may be called from any thread.
 */
#if !defined(_WIN32) && !defined(_GNU_SOURCE)
#define _GNU_SOURCE /* strtod_l, newlocale */
#endif

#include "ephemeris/outer_files.h"

#include <locale.h>
#include <math.h>
#include <stdatomic.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#if defined(_WIN32)
#include <windows.h>
#elif defined(__APPLE__)
#include <xlocale.h>
#endif

#define FIELD_WIDTH 10
#define NUMBER_OFFSET 0
#define NUMBER_WIDTH 5
#define JD0_OFFSET 5
#define UNUSED_OFFSET 15
#define COEF_OFFSET 25

/* ------------------------------------------------------------------------ */
/* Field conversion                                                          */

#if defined(_WIN32)
typedef _locale_t c_locale_t;
static c_locale_t make_c_locale(void) { return _create_locale(LC_NUMERIC, "C"); }
static void free_c_locale(c_locale_t loc) { _free_locale(loc); }
static double strtod_c(const char *s, char **end, c_locale_t loc) { return _strtod_l(s, end, loc); }
#else
typedef locale_t c_locale_t;
static c_locale_t make_c_locale(void) { return newlocale(LC_NUMERIC_MASK, "C", (locale_t)0); }
static void free_c_locale(c_locale_t loc) { freelocale(loc); }
static double strtod_c(const char *s, char **end, c_locale_t loc) { return strtod_l(s, end, loc); }
#endif

/* The "C" locale for the conversions, made at the first decode and kept for
 * the life of the process. Threads decoding at once may each make one; the
 * first to publish it wins and the others free theirs. */
static _Atomic(c_locale_t) g_c_locale;
static atomic_int g_c_locale_failed;

static c_locale_t c_locale(void) {
    c_locale_t loc = atomic_load_explicit(&g_c_locale, memory_order_acquire);
    if (loc || atomic_load_explicit(&g_c_locale_failed, memory_order_relaxed)) return loc;
    c_locale_t made = make_c_locale();
    if (!made) {
        atomic_store_explicit(&g_c_locale_failed, 1, memory_order_relaxed);
        return made;
    }
    c_locale_t expected = loc;
    if (atomic_compare_exchange_strong_explicit(&g_c_locale, &expected, made, memory_order_acq_rel,
                                                memory_order_acquire))
        return made;
    free_c_locale(made);
    return expected;
}

/* Converts the validated number text[0, n) ('.' as decimal point) into *out;
 * returns 0, or -1 unless the conversion took exactly those n characters. */
static int convert_number(const char *text, size_t n, double *out) {
    const c_locale_t loc = c_locale();
    /* A copy ended by a terminator, so that the conversion sees nothing of
     * the next field; room for a locale's decimal point of up to 8 bytes. */
    char buffer[FIELD_WIDTH + 16];
    char *stop = NULL;
    size_t m = 0;
    double value;
    if (loc) {
        memcpy(buffer, text, n);
        m = n;
        buffer[m] = '\0';
        value = strtod_c(buffer, &stop, loc);
    } else {
        /* Without a "C" locale (it could not be made): strtod reads the
         * decimal point of the current locale, so hand it the locale's own in
         * place of the files' '.'. */
        const char *point = localeconv()->decimal_point;
        const size_t point_len = (point != NULL && point[0] != '\0') ? strlen(point) : 0;
        for (size_t i = 0; i < n; ++i) {
            if (text[i] == '.' && point_len > 0 && point_len <= 8) {
                memcpy(buffer + m, point, point_len);
                m += point_len;
            } else {
                buffer[m++] = text[i];
            }
        }
        buffer[m] = '\0';
        value = strtod(buffer, &stop);
    }
    if (stop != buffer + m) return -1;
    *out = value;
    return 0;
}

static int is_blank(char c) { return c == ' ' || c == '\t'; }
static int is_digit(char c) { return c >= '0' && c <= '9'; }

/*
 * A decimal number in text[offset, offset + width): optional blanks, optional
 * sign, digits with an optional decimal point (at least one digit), optional
 * exponent, then blanks only up to the end of the field. A number that fills
 * its field must not run on into the next one (the next byte must not be able
 * to continue it). "inf", "nan", hexadecimal forms, an empty field and
 * non-finite values are refused. Returns 0 and *out, or -1.
 */
static int parse_field(const char *text, int offset, int width, double *out) {
    const char *p = text + offset;
    const char *const end = p + width;
    while (p < end && is_blank(*p)) ++p;
    const char *const start = p;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    int digits = 0;
    while (p < end && is_digit(*p)) ++p, ++digits;
    if (p < end && *p == '.') {
        ++p;
        while (p < end && is_digit(*p)) ++p, ++digits;
    }
    if (digits == 0) return -1;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char *q = p + 1;
        if (q < end && (*q == '+' || *q == '-')) ++q;
        int exp_digits = 0;
        while (q < end && is_digit(*q)) ++q, ++exp_digits;
        if (exp_digits == 0) return -1;
        p = q;
    }
    const char *const number_end = p;
    while (p < end && is_blank(*p)) ++p;
    if (p != end) return -1;
    if (number_end == end && offset + width < PV_RECORD_BYTES) {
        const char next = *end;
        if (is_digit(next) || next == '.' || next == 'e' || next == 'E') return -1;
    }

    double value = 0.0;
    if (convert_number(start, (size_t)(number_end - start), &value) != 0 || !isfinite(value))
        return -1;
    *out = value;
    return 0;
}

int pv_decode_record(const char *text, pv_outer_record *rec) {
    /* The two unused fields are kept for completeness and never checked. */
    double number = 0.0;
    if (parse_field(text, NUMBER_OFFSET, NUMBER_WIDTH, &number) != 0 || fabs(number) > 2e9)
        number = 0.0;
    rec->number = (int32_t)number;
    if (parse_field(text, UNUSED_OFFSET, FIELD_WIDTH, &rec->unused) != 0) rec->unused = 0.0;

    if (parse_field(text, JD0_OFFSET, FIELD_WIDTH, &rec->jd0) != 0) return PV_READ_FAILED;
    for (int c = 0; c < PV_COORDINATES; ++c) {
        for (int p = 0; p < PV_POWERS; ++p) {
            const int offset = COEF_OFFSET + FIELD_WIDTH * (PV_POWERS * c + p);
            if (parse_field(text, offset, FIELD_WIDTH, &rec->coef[p][c]) != 0)
                return PV_READ_FAILED;
        }
    }
    return 0;
}

/* ------------------------------------------------------------------------ */
/* Evaluation                                                                */

double pv_evaluate_record(const pv_outer_record *rec, double jd, double *lat, double *rv) {
    const double t = (jd - rec->jd0) / PV_DAYS_PER_T;
    double v[PV_COORDINATES];
    for (int c = 0; c < PV_COORDINATES; ++c) {
        v[c] = rec->coef[PV_POWERS - 1][c];
        for (int p = PV_POWERS - 2; p >= 0; --p) v[c] = v[c] * t + rec->coef[p][c];
    }
    if (lat) *lat = v[1];
    if (rv) *rv = v[2];
    return v[0];
}

/* Quotient of a / b rounded towards minus infinity (b > 0). */
static long long floor_div(long long a, long long b) {
    const long long q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

double pv_year_start_jd(long long year) {
    /* Days before 1 January of year y counted from 1 January of year 1,
     * proleptic Gregorian (E. M. Reingold and N. Dershowitz, "Calendrical
     * Calculations", fixed-from-gregorian); JD 1721425.5 is 0h 1 January 1.
     * The shipped files place JD0 by this calendar: every record sits within
     * half a day of the middle it gives (the Julian calendar would put the
     * records of -4000 a month off). */
    const long long y = year - 1;
    const long long days =
        365 * y + floor_div(y, 4) - floor_div(y, 100) + floor_div(y, 400);
    return 1721425.5 + (double)days;
}

/* Whether the JD0 of record k of a file starting in first_year lies within
 * PV_JD0_TOLERANCE_DAYS of the middle of the years the record covers
 * (first + 5k .. first + 5k + 4): a record placed at another date would be
 * evaluated years away from its own span. A handful of integer operations,
 * computed at every request
 * rather than kept with the record. */
static int jd0_fits(double jd0, int32_t first_year, long long k) {
    const long long first = (long long)first_year + PV_YEARS_PER_RECORD * k;
    const double middle = pv_year_start_jd(first) + 0.5 * PV_YEARS_PER_RECORD * 365.25;
    return fabs(jd0 - middle) <= PV_JD0_TOLERANCE_DAYS;
}

int pv_outer_evaluate(double jd, int32_t year, int32_t first_year, int32_t limit_year,
                      const char *file_name, double result[3]) {
    if (year < first_year) return PV_BEFORE_DATA;
    if (year >= limit_year) return PV_AFTER_DATA;
    /* Exact: the difference is not negative. Computed wide for any first
     * year; below 2^31 for every int32 year and first year >= -2^31 + 5. */
    const long long k = ((long long)year - (long long)first_year) / PV_YEARS_PER_RECORD;
    if (k > 0x7fffffffLL) return PV_SEEK_FAILED;

    pv_outer_record record;
    const int status = pv_request_record(file_name, (int32_t)k, &record);
    if (status != 0) return status;
    if (!jd0_fits(record.jd0, first_year, k)) return PV_READ_FAILED;

    /* Finite fields can still overflow at the date (a coefficient of 1e300
     * and up): such a record gives no position, whichever coordinate it is. */
    double v[PV_COORDINATES];
    v[0] = pv_evaluate_record(&record, jd, &v[1], &v[2]);
    for (int c = 0; c < PV_COORDINATES; ++c) {
        if (!isfinite(v[c])) return PV_NOT_SERVED;
    }
    for (int c = 0; c < PV_COORDINATES; ++c) result[c] = v[c];
    return 0;
}

/* Perihelion a (1 - e) and aphelion a (1 + e) of Jupiter to Neptune, AU, from
 * the mean elements at J2000 of E. M. Standish, "Keplerian Elements for
 * Approximate Positions of the Major Planets" (JPL), table 2a (3000 BC to
 * AD 3000). Perturbations move the true distances a little outside these;
 * the bounds allow 10 %. */
static const double kPerihelion[4] = {4.9511, 9.0230, 18.2823, 29.8116};
static const double kAphelion[4] = {5.4546, 10.0503, 20.0960, 30.3282};

int pv_outer_plausible(int32_t planet, const double v[3]) {
    if (planet < 5 || planet > 8) return 0;
    const int i = planet - 5;
    /* The files give the longitude of date before reduction: within a turn
     * or so of [0, 2 pi) (the shipped files: -1.6 .. 7.8 rad); 4 pi either
     * side leaves room for any honest fit. */
    if (!(fabs(v[0]) <= PV_LONGITUDE_LIMIT)) return 0;
    if (!(fabs(v[1]) <= PV_LATITUDE_LIMIT)) return 0;
    return v[2] >= 0.9 * kPerihelion[i] && v[2] <= 1.1 * kAphelion[i];
}

double pv_outer_position(double jd, int32_t year, int32_t first_year, int32_t limit_year,
                         const char *file_name, double *lat, double *rv) {
    double v[PV_COORDINATES];
    const int status = pv_outer_evaluate(jd, year, first_year, limit_year, file_name, v);
    if (status != 0) return status;
    if (lat) *lat = v[1];
    if (rv) *rv = v[2];
    return v[0];
}
