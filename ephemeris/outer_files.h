/*
 * Internal interface of planets_vemo: the outer-planet data files.
 *
 * Jupiter, Saturn, Uranus and Neptune come from text files of fixed 235-byte
 * records, one record per five calendar years, each holding three polynomials
 * of degree 6 in t = (JD - JD0) / 2000 days for the heliocentric longitude
 * (rad, of date, not reduced), latitude (rad) and radius vector (AU).
 *
 * Record layout (byte offsets, fields not cut at their widths by the format but
 * validated within them here):
 *     0  width  5  integer, not used by the computation
 *     5  width 10  JD0, the record's reference Julian date
 *    15  width 10  number, not used by the computation
 *    25 + 10 (7c + p)  width 10  coefficient of power p (0..6) of coordinate c
 *                      (0 longitude, 1 latitude, 2 radius vector)
 * Record k starts at byte 235 k and covers the years first + 5k .. first + 5k + 4;
 * its JD0 lies near the middle of those years (proleptic Gregorian calendar),
 * and a record whose JD0 is more than five years from there is refused.
 *
 * Only regular files are read: a FIFO, directory or device in place of a data
 * file is refused as a missing one, without waiting on it.
 *
 * Every function may be called from any thread at any time: the data folder
 * is one process-wide value, taken whole by each request, and what is kept of
 * the files between requests is kept per thread (record_files.c).
 */
#ifndef VEMO_EPHEMERIS_OUTER_FILES_H
#define VEMO_EPHEMERIS_OUTER_FILES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define PV_RECORD_BYTES 235
#define PV_RECORD_STORAGE 256  /* record text plus terminator and slack */
#define PV_FOLDER_STORAGE 256  /* 255 characters plus terminator */
#define PV_POWERS 7            /* powers 0..6 */
#define PV_COORDINATES 3       /* longitude, latitude, radius vector */
#define PV_YEARS_PER_RECORD 5
#define PV_LIMIT_YEAR 2800     /* first year no file serves */
#define PV_DAYS_PER_T 2000.0   /* unit of the time argument t, days */
#define PV_JD0_TOLERANCE_DAYS (5 * 365.25) /* JD0 to the middle of its years, at most */

/* Error values, returned in place of a longitude (see planets_vemo.h). */
#define PV_BEFORE_DATA (-99)
#define PV_AFTER_DATA (-100)
#define PV_OPEN_FAILED (-101)
#define PV_SEEK_FAILED (-102)
#define PV_READ_FAILED (-103)
#define PV_NO_FOLDER (-104)
#define PV_NOT_SERVED (-999)   /* a coordinate not finite at the date, or absurd */

/* Bounds of a plausible position (pv_outer_plausible): the raw longitude of
 * date within 4 pi of zero, rad, and the latitude within 10 degrees, rad. */
#define PV_LONGITUDE_LIMIT 12.566370614359172
#define PV_LATITUDE_LIMIT 0.17453292519943295

/* One decoded record. */
typedef struct pv_outer_record {
    int32_t number;                              /* field at 0, unused */
    double jd0;                                  /* reference Julian date, days */
    double unused;                               /* field at 15, unused */
    double coef[PV_POWERS][PV_COORDINATES];      /* a(c, p) stored as coef[p][c] */
} pv_outer_record;

/* Copies folder (may be null: empty) as the process's data folder. A folder of
 * 256 characters or more cannot be stored; it is remembered as unusable, so
 * that every file request answers PV_OPEN_FAILED. A request running at the
 * same time in another thread uses the old folder or the new one, whole. */
void pv_set_folder(const char *folder);

/* The data folder as the calling thread's next request sees it ("" when empty
 * or unusable); valid until that thread's next call. */
const char *pv_folder(void);

/* Decodes the 235 bytes at text into *rec. Returns 0, or PV_READ_FAILED when
 * JD0 or one of the 21 coefficients is not a finite decimal number that starts
 * after optional blanks and ends inside its own 10 bytes (followed there by
 * blanks only); *rec is then left in an unspecified state. */
int pv_decode_record(const char *text, pv_outer_record *rec);

/* Reads and decodes record number index of the file at path: one open
 * (binary, read-only, not waiting), a check that it is a regular file, one
 * positioned read of 235 bytes, one close; no stdio, nothing kept.
 * Returns 0, PV_OPEN_FAILED (missing, unreadable, or not a regular file),
 * PV_SEEK_FAILED (offset not representable) or PV_READ_FAILED (short read or
 * non-numeric record). The JD0 of the record is not checked here. */
int pv_read_record_file(const char *path, int32_t index, pv_outer_record *rec);

/*
 * Record index of data file file_name in the data folder, as a fresh open,
 * read and close would give it at this moment, but from what the calling
 * thread keeps where it can (record_files.c). Returns 0 with *rec, or
 * PV_NO_FOLDER, PV_OPEN_FAILED (unusable folder, path of 256 characters or
 * more, missing or irregular file), PV_SEEK_FAILED or PV_READ_FAILED.
 */
int pv_request_record(const char *file_name, int32_t index, pv_outer_record *rec);

/* How a request makes sure that what it keeps is still what the file holds. */
#define PV_CHECK_OPEN 0    /* open, read and close the file every time */
#define PV_CHECK_STAT 1    /* one stat() of the path and one read of the record */
#define PV_CHECK_NOTIFY 2  /* the kernel's change notifications, read without
                              waiting; nothing else while nothing changed */

/* The check requests use from now on: PV_CHECK_NOTIFY (the default) falls
 * back to PV_CHECK_STAT wherever notifications are not to be had, and
 * PV_CHECK_STAT to PV_CHECK_OPEN on Windows. Every way answers alike. For
 * tests and benchmarks; other values are ignored. */
void pv_set_file_check(int check);

/* The check the calling thread's last file request used (PV_CHECK_...), or
 * -1 before its first. */
int pv_file_check_used(void);

/* JD of 0h UT 1 January of year (astronomical numbering: 0 is 1 BC), proleptic
 * Gregorian calendar; exact for any int32 year. */
double pv_year_start_jd(long long year);

/* Evaluates the record's three polynomials at jd (Horner's scheme, highest
 * power first). Returns the longitude, rad (not reduced); writes the latitude
 * (rad) and radius vector (AU) when the pointers are not null. */
double pv_evaluate_record(const pv_outer_record *rec, double jd, double *lat, double *rv);

/*
 * The outer-planet request: the record of year in the file data folder +
 * file_name, evaluated at jd.
 *
 * Given:    jd          Julian date, days (gives the time argument)
 *           year        calendar year (chooses the record)
 *           first_year  first year of the file (-4000 or 1600)
 *           limit_year  first year not served (2800)
 *           file_name   e.g. "jupiter.dac"
 * Returned: longitude of date, rad (not reduced), with *lat (rad) and *rv (AU);
 *           or PV_BEFORE_DATA, PV_AFTER_DATA, PV_NO_FOLDER, PV_OPEN_FAILED,
 *           PV_SEEK_FAILED, PV_READ_FAILED, PV_NOT_SERVED, with *lat and *rv
 *           untouched.
 * Notes:    1) The year is checked before any file access, the folder next.
 *           2) A folder plus file name longer than 255 characters, and a path
 *              that is not a regular file, answer PV_OPEN_FAILED.
 *           3) A record whose JD0 lies more than PV_JD0_TOLERANCE_DAYS from
 *              the middle of its five years answers PV_READ_FAILED.
 *           4) When any of the three coordinates evaluated at jd is not
 *              finite (a huge coefficient overflowing), the answer is
 *              PV_NOT_SERVED: no coordinate of such a record is given.
 *           5) A replaced, changed or removed file takes effect at the very
 *              next request (pv_request_record).
 *           6) No bounds are checked here: pv_outer_plausible, for a planet.
 */
double pv_outer_position(double jd, int32_t year, int32_t first_year, int32_t limit_year,
                         const char *file_name, double *lat, double *rv);

/* Whether an outer planet's raw position v (longitude of date before
 * reduction, latitude, radius vector) can be a position of library planet
 * number planet (5..8): |longitude| <= PV_LONGITUDE_LIMIT, |latitude| <=
 * PV_LATITUDE_LIMIT and the radius vector within 0.9 times the planet's
 * perihelion distance and 1.1 times its aphelion distance. 1 or 0; a
 * corrupt record whose numbers are finite gives 0. */
int pv_outer_plausible(int32_t planet, const double v[3]);

/* The same request with the status apart from the values: returns 0 and
 * result[0..2] = longitude (rad, not reduced), latitude (rad), radius vector
 * (AU), all three finite; or one of the error values above (PV_NOT_SERVED
 * included) with result untouched. Lets a caller
 * tell an error from a (strange) longitude of -99 rad or less. */
int pv_outer_evaluate(double jd, int32_t year, int32_t first_year, int32_t limit_year,
                      const char *file_name, double result[3]);

#ifdef __cplusplus
}
#endif

#endif
