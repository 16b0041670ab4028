/*
 * ordalin: calendar conversions on the proleptic Gregorian calendar.
 *
 * Stand-in for the maker's calendar library. Same exported names and argument
 * types as the library the program binds to; usable from C and C++.
 *
 * Day numbers: the integer number of a civil day, counted so that the day
 * number of a date equals the astronomical Julian date at noon of that day
 * (1 January 1 is 1721426, 1 January 2000 is 2451545).
 *
 * Years use astronomical numbering: year 0 is 1 BC, year -4000 is 4001 BC,
 * the same numbering as the outer-planet data files of planets_vemo.
 */
#ifndef VEMO_PLATFORM_ORDALIN_H
#define VEMO_PLATFORM_ORDALIN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Calendar code of the Gregorian calendar: the character 'G'. The only code
 * this library serves. */
#define ORDALIN_GREGORIAN 71

/* Capacity of the result buffer of separate_thousands, terminator included. */
#define ORDALIN_THOUSANDS_BUFFER 20

/* Date record, passed by address: six 32-bit signed integers in this order. */
typedef struct EuroDate {
    int32_t year;     /* astronomical numbering (0 = 1 BC) */
    int32_t month;    /* 1..12 */
    int32_t day;      /* 1..31 */
    int32_t calendar; /* ORDALIN_GREGORIAN */
    int32_t jdn;      /* day number */
    int32_t valid;    /* 0: the date does not exist; non-zero: it does */
} EuroDate;

/* Day number of the date in d (year, month, day, calendar filled).
 * Sets d->valid to 1 and d->jdn to the day number when the date exists in the
 * calendar; otherwise sets d->valid to 0, d->jdn to 0 and returns 0.
 * Years are accepted within +-5 000 000 (so that every day number fits 32 bits). */
int32_t euro_date_to_jdn(EuroDate *d);

/* Fills year, month and day of d from d->jdn (calendar filled) and sets
 * d->valid to 1. With a calendar code other than ORDALIN_GREGORIAN, sets
 * d->valid to 0 and leaves year, month and day alone. */
void jdn_to_euro_date(EuroDate *d);

/* Weekday of a day number: 0 Sunday, 1 Monday ... 6 Saturday. */
int32_t euro_day_of_week(int32_t jdn);

/* The computer's zone offset at the present instant, in seconds, positive west
 * of Greenwich (local time = UT - value). Central European winter time: -3600. */
int32_t get_timezone(void);

/* Calendar date of an astronomical Julian date (days counted from noon, the
 * fraction is the time of day). mode "A" (astronomical) is the only mode.
 * Writes the year into *year, the month into *month, the day into *day and the
 * civil day number into *jdn (any of the pointers may be null); returns 0.
 * A non-finite date, a date whose day number does not fit 32 bits or another
 * mode returns -1 and writes nothing. The day starts at midnight: 2451544.5 is
 * 1 January 2000, 2451544.49 still 31 December 1999. */
int32_t juldat(double jd, const char *mode, int32_t *year, int32_t *month, int32_t *day,
               int32_t *jdn);

/* Groups a text of decimal digits (an optional leading '-' or '+' allowed)
 * by threes from the right with the separator sep and writes it with a
 * terminator into result, which holds ORDALIN_THOUSANDS_BUFFER characters.
 * Returns the length written. A text that is not digits, or whose grouped form
 * would not fit, leaves result empty and returns -1. */
int32_t separate_thousands(const char *digits, char sep, char *result);

#ifdef __cplusplus
}
#endif

#endif
