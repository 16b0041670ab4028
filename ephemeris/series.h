/*
 * Internal interface of planets_vemo: the analytical series of the Sun,
 * Mercury, Venus and Mars, and the range reduction of angles.
 *
 * Not exported from the shared library; the tests and maintainer tools reach
 * these routines through the static library planets_vemo_static.
 *
 * Reference: P. Bretagnon and J.-L. Simon, "Planetary Programs and Tables from
 * -4000 to +2800", Willmann-Bell, 1986. Coordinates are heliocentric (the Sun
 * geocentric), ecliptic, referred to the mean ecliptic and equinox of date.
 */
#ifndef VEMO_EPHEMERIS_SERIES_H
#define VEMO_EPHEMERIS_SERIES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The circle and the half circle as the program writes them. */
#define PV_TWO_PI 6.283185307179586
#define PV_PI 3.141592653589793

/* Julian date of J2000.0 and the length of the series' time unit, 10 000
 * Julian years in days: U = (JD - PV_J2000) / PV_DAYS_PER_UNIT. */
#define PV_J2000 2451545.0
#define PV_DAYS_PER_UNIT 3652500.0

/* One periodic term: amplitude in units of 1e-7 rad (longitude, latitude;
 * used with sin) or 1e-7 AU (radius vector; used with cos), phase alpha in
 * rad, frequency nu in rad per 10 000 Julian years. */
typedef struct pv_term {
    int32_t a;
    double alpha;
    double nu;
} pv_term;

/* One term of the solar series: longitude amplitude l and radius amplitude r
 * share the argument alpha + nu U. */
typedef struct pv_sun_term {
    int32_t l;
    int32_t r;
    double alpha;
    double nu;
} pv_sun_term;

/* Table sizes of the publication. */
#define PV_SUN_TERMS 50
#define PV_MERCURY_LONGITUDE_TERMS 25
#define PV_MERCURY_LATITUDE_TERMS 18
#define PV_MERCURY_RADIUS_TERMS 14
#define PV_VENUS_LONGITUDE_TERMS 20
#define PV_VENUS_LATITUDE_TERMS 6
#define PV_VENUS_RADIUS_TERMS 5
#define PV_MARS_LONGITUDE_TERMS 60
#define PV_MARS_LATITUDE_TERMS 7
#define PV_MARS_RADIUS_TERMS 29

/* The tables, in summation order (generated from ephemeris/data/periodic-series.txt). */
extern const pv_sun_term pv_sun_terms[PV_SUN_TERMS];
extern const pv_term pv_mercury_longitude_terms[PV_MERCURY_LONGITUDE_TERMS];
extern const pv_term pv_mercury_latitude_terms[PV_MERCURY_LATITUDE_TERMS];
extern const pv_term pv_mercury_radius_terms[PV_MERCURY_RADIUS_TERMS];
extern const pv_term pv_venus_longitude_terms[PV_VENUS_LONGITUDE_TERMS];
extern const pv_term pv_venus_latitude_terms[PV_VENUS_LATITUDE_TERMS];
extern const pv_term pv_venus_radius_terms[PV_VENUS_RADIUS_TERMS];
extern const pv_term pv_mars_longitude_terms[PV_MARS_LONGITUDE_TERMS];
extern const pv_term pv_mars_latitude_terms[PV_MARS_LATITUDE_TERMS];
extern const pv_term pv_mars_radius_terms[PV_MARS_RADIUS_TERMS];

/*
 * pv_reduce_turns: angle into [0, 2 pi) by whole turns.
 *
 * Given:   x  angle, rad
 * Returned: x + k 2 pi in [0, 2 pi), rad; x itself (bit for bit) when it
 *           already lies in [0, 2 pi); x unchanged when it is not finite.
 *
 * Notes: 1. Turns are added or subtracted one at a time, as the program has
 *           always done, so ordinary angles (up to PV_REDUCE_LOOP_LIMIT, which
 *           covers Mars's longitude of date some 19 000 years either side of
 *           J2000) keep their exact historical values.
 *        2. Beyond that limit the angle is first brought below one turn with a
 *           floating remainder, so the loop always ends.
 *        3. Callers test the result with isfinite(); a non-finite angle cannot
 *           be reduced.
 */
#define PV_REDUCE_LOOP_LIMIT (10000.0 * PV_TWO_PI)
double pv_reduce_turns(double x);

/*
 * Solar series: geometric longitude of the Sun.
 *
 * Given:    jd  Julian date, days (any value; the publication covers -4000..+2800)
 * Returned: longitude of date L, rad, in [0, 2 pi) (NaN for a non-finite jd);
 *           *r  radius vector, AU.
 */
double pv_sun(double jd, double *r);

/*
 * Mercury, Venus, Mars series.
 *
 * Given:    jd  Julian date, days
 * Returned: heliocentric longitude of date, rad, in [0, 2 pi) (NaN for a
 *           non-finite jd); *b latitude, rad; *r radius vector, AU.
 */
double pv_mercury(double jd, double *b, double *r);
double pv_venus(double jd, double *b, double *r);
double pv_mars(double jd, double *b, double *r);

#ifdef __cplusplus
}
#endif

#endif
