/*
 * planets_vemo: heliocentric ecliptic positions of Earth and of Mercury to
 * Neptune, longitude referred to the mean equinox of J2000.
 *
 * Earth, Mercury, Venus and Mars come from the analytical series of
 * P. Bretagnon and J.-L. Simon, "Planetary Programs and Tables from -4000 to
 * +2800" (Willmann-Bell, 1986), compiled into the library; Jupiter to Neptune
 * from polynomial coefficients in the data files "jupiter.dac", "saturn.dac",
 * "uranus.dac" and "neptune.dac" of the data folder.
 *
 * Usable from C and C++. The library keeps process-wide storage (the data
 * folder and one record) and takes no locks: calls must not overlap.
 *
 * Data files and what is kept of them. Every outer-planet request consults
 * its file, so that a file replaced, rewritten or removed between two
 * requests gives the new answer (or -101) at the very next one. On POSIX
 * systems the library nevertheless keeps each of the four files open
 * (close-on-exec) with the last record read from it, rather than opening and
 * closing it on every request: each request checks the path with one stat()
 * against the held file's device and inode (reopening when they differ,
 * answering -101 when the path is gone) and reads the record's 235 bytes
 * again with one positioned read; only bytes equal to those kept reuse the
 * kept decoding. Only regular files are read: a FIFO, directory or device in
 * place of a data file answers -101 at once, as a missing file does. No caller can tell the difference through these functions:
 * every result, error value and untouched out-parameter is what a fresh
 * open, read and close would give. What the process does see is up to four
 * descriptors held open, and a removed file's storage freed at the next
 * request for it rather than at once. On Windows each request opens, reads
 * and closes the file.
 *
 * Planet numbers (the library's own):
 *   0 Earth (same as 3), 1 Mercury, 2 Venus, 3 Earth, 4 Mars, 5 Jupiter,
 *   6 Saturn, 7 Uranus, 8 Neptune, 9 Pluto (never served: -999).
 *
 * Results: the longitude in radians in [0, 2 pi), or an error value <= -99
 * (a result is valid when it is greater than -99). On an error nothing is
 * written through the out-parameters.
 */
#ifndef VEMO_EPHEMERIS_PLANETS_VEMO_H
#define VEMO_EPHEMERIS_PLANETS_VEMO_H

#include <stdint.h>

#if defined(_WIN32) && !defined(PLANETS_VEMO_STATIC)
#  if defined(PLANETS_VEMO_BUILD)
#    define PLANETS_VEMO_API __declspec(dllexport)
#  else
#    define PLANETS_VEMO_API __declspec(dllimport)
#  endif
#elif defined(__GNUC__) && defined(PLANETS_VEMO_BUILD)
#  define PLANETS_VEMO_API __attribute__((visibility("default")))
#else
#  define PLANETS_VEMO_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Error values returned in place of the longitude. */
#define PLANETS_VEMO_BEFORE_DATA (-99)   /* outer planet: year before its data file's first year */
#define PLANETS_VEMO_AFTER_DATA (-100)   /* outer planet: year 2800 or later */
#define PLANETS_VEMO_OPEN_FAILED (-101)  /* data file cannot be opened (missing, wrong folder,
                                            not a regular file) */
#define PLANETS_VEMO_SEEK_FAILED (-102)  /* positioning to the record failed */
#define PLANETS_VEMO_READ_FAILED (-103)  /* record short (past the file's end), not numeric,
                                            or its JD0 over 5 years from its span's middle */
#define PLANETS_VEMO_NO_FOLDER (-104)    /* the data folder is empty */
#define PLANETS_VEMO_NOT_SERVED (-999)   /* planet outside 0..8, a non-finite date, or a
                                            longitude, latitude or radius vector that is
                                            not finite (a record overflowing at the date) */

/* Longest data folder the library stores, in bytes (without terminator). */
#define PLANETS_VEMO_MAX_FOLDER 255

/*
 * Sets the folder of the data files: a zero-terminated single-byte string,
 * copied. It must end with the path separator ("/" or "\\"), since file names
 * are appended without one. The last call counts. A folder longer than
 * PLANETS_VEMO_MAX_FOLDER characters is not stored; outer-planet requests then
 * fail with PLANETS_VEMO_OPEN_FAILED. A null pointer empties the folder.
 */
PLANETS_VEMO_API void set_datafiles_folder(const char *folder);

/*
 * Heliocentric position of a planet.
 *
 * Given:    planet  library planet number (above)
 *           jd      astronomical Julian date, days (no time-scale correction)
 *           year    calendar year of jd; chooses the outer-planet record only
 * Returned: J2000 longitude, rad, in [0, 2 pi), or an error value;
 *           *lat    latitude of date, rad (Earth: 0)
 *           *rv     radius vector, AU
 *
 * The longitude of date is referred to J2000 by the linear correction
 * p = 3.8189e-5 jd - 93.619 degrees (subtracted).
 */
PLANETS_VEMO_API double hc_j2000_long_lat_rv_planet(int32_t planet, double jd, int32_t year,
                                                    double *lat, double *rv);

/* The same as hc_j2000_long_lat_rv_planet without the latitude. */
PLANETS_VEMO_API double hc_j2000_long_rv_planet(int32_t planet, double jd, int32_t year,
                                                double *rv);

#ifdef __cplusplus
}
#endif

#endif
