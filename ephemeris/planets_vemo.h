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
 * Usable from C and C++.
 *
 * Threads. Every function may be called from any number of threads at once,
 * and each call answers exactly as it would alone. The data folder is one
 * value for the whole process: a call that overlaps set_datafiles_folder()
 * uses the old folder or the new one, whole, and every call that begins
 * after set_datafiles_folder() has returned (in any thread) uses the new one.
 * Calls wait for no lock but a short one while a thread takes a new folder.
 *
 * Data files and what is kept of them. A data file replaced (by rename or
 * rewritten in place), truncated, removed, restored or made unreadable, or a
 * new folder, gives the new answer (or -101) at the very next request, from
 * whichever thread or process changed it: every result, error value and
 * untouched out-parameter is what a fresh open, read and close would give.
 * To keep that promise cheaply, each calling thread keeps the data files it
 * used open with the records it decoded from them, and learns of changes:
 *  - on Linux, from an inotify instance of its own watching the data folder,
 *    the folders above it and the held files, read without waiting at every
 *    request (one system call; no stat(), no read of the file while nothing
 *    changes);
 *  - where notifications could miss a change or cannot be had (other
 *    systems, a folder on a network or FUSE file system, a relative folder or
 *    one reached through a symbolic link, a data file that is a symbolic
 *    link, a failed watch), from one stat() of the path and one read of the
 *    record's 235 bytes per request;
 *  - on Windows every request opens, reads and closes the file.
 * Only regular files are read: a FIFO, directory or device in place of a
 * data file answers -101 at once, as a missing file does. Files are never
 * mapped into memory. What the process does see is, per calling thread, up
 * to four descriptors held open and one inotify instance (closed when the
 * thread ends; all are close-on-exec), and a removed file's storage freed at
 * the thread's next request rather than at once.
 *
 * Corrupt records. A record answers -999 (no position; nothing written
 * through the out-parameters, from both position functions) when at the
 * requested date any of its coordinates is not finite, or is no position of
 * its planet: a longitude of date beyond 4 pi in size before its reduction,
 * a latitude beyond 10 degrees in size, or a radius vector outside 0.9 times
 * the planet's perihelion distance to 1.1 times its aphelion distance.
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
                                            record giving a longitude, latitude or radius
                                            vector that is not finite or not a position of
                                            the planet (see Corrupt records above) */

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

/* The same as hc_j2000_long_lat_rv_planet without the latitude, which the
 * series of Mercury, Venus and Mars then do not compute. */
PLANETS_VEMO_API double hc_j2000_long_rv_planet(int32_t planet, double jd, int32_t year,
                                                double *rv);

#ifdef __cplusplus
}
#endif

#endif
