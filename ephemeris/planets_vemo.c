/*
 * planets_vemo: the exported interface. Dispatch to the series and to the
 * outer-planet files, reduction of the longitude to the equinox of J2000,
 * range reduction into [0, 2 pi).
 */
#include "ephemeris/planets_vemo.h"

#include "ephemeris/outer_files.h"
#include "ephemeris/series.h"

#include <math.h>
#include <stddef.h>

/* Degrees to radians with the program's circle. */
#define DEG_TO_RAD (PV_TWO_PI / 360.0)

/* Linear precession in longitude from the equinox of date to J2000, degrees:
 * 3.8189e-5 degrees a day (about 1.39485 degrees a Julian century), 0.003052
 * degrees at JD 2451545.0. */
#define PRECESSION_DEG_PER_DAY 3.8189e-5
#define PRECESSION_DEG_OFFSET 93.619

#define FIRST_YEAR_JUPITER_SATURN (-4000)
#define FIRST_YEAR_URANUS_NEPTUNE 1600

void set_datafiles_folder(const char *folder) { pv_set_folder(folder); }

/* The position referred to J2000; the latitude only when lat is not null
 * (the series skip theirs; an outer planet's record always gives all three,
 * since a corrupt latitude makes the whole record refused by both exports). */
static double position(int32_t planet, double jd, int32_t year, double *lat, double *rv) {
    if (planet < 0 || planet > 8) return PLANETS_VEMO_NOT_SERVED;
    /* A date that is not a number cannot give a position (and must not reach
     * the reduction loops). */
    if (!isfinite(jd)) return PLANETS_VEMO_NOT_SERVED;

    double b = 0.0, r = 0.0, l = 0.0;
    double *want_b = lat ? &b : NULL;
    if (planet == 0 || planet == 3) {
        /* Earth is seen from the Sun opposite to where the Sun is seen from Earth. */
        l = pv_sun(jd, &r) - PV_PI;
    } else if (planet == 1) {
        l = pv_mercury(jd, want_b, &r);
    } else if (planet == 2) {
        l = pv_venus(jd, want_b, &r);
    } else if (planet == 4) {
        l = pv_mars(jd, want_b, &r);
    } else {
        static const char *const kFiles[4] = {"jupiter.dac", "saturn.dac", "uranus.dac",
                                              "neptune.dac"};
        static const int32_t kFirstYear[4] = {FIRST_YEAR_JUPITER_SATURN, FIRST_YEAR_JUPITER_SATURN,
                                              FIRST_YEAR_URANUS_NEPTUNE, FIRST_YEAR_URANUS_NEPTUNE};
        double v[PV_COORDINATES];
        /* The reader's status is kept apart from the value, so that no
         * longitude polynomial can be mistaken for an error value. */
        const int status = pv_outer_evaluate(jd, year, kFirstYear[planet - 5], PV_LIMIT_YEAR,
                                             kFiles[planet - 5], v);
        if (status != 0) return status;
        /* Finite but absurd (a patched coefficient): no position at all. */
        if (!pv_outer_plausible(planet, v)) return PLANETS_VEMO_NOT_SERVED;
        l = v[0];
        b = v[1];
        r = v[2];
    }
    /* All three or none: the two exports must agree on every request. */
    if (!isfinite(l) || !isfinite(b) || !isfinite(r)) return PLANETS_VEMO_NOT_SERVED;

    l = pv_reduce_turns(l);
    const double p = (PRECESSION_DEG_PER_DAY * jd - PRECESSION_DEG_OFFSET) * DEG_TO_RAD;
    l = pv_reduce_turns(l - p);
    if (!isfinite(l)) return PLANETS_VEMO_NOT_SERVED;

    if (lat) *lat = b;
    if (rv) *rv = r;
    return l;
}

double hc_j2000_long_lat_rv_planet(int32_t planet, double jd, int32_t year, double *lat,
                                   double *rv) {
    return position(planet, jd, year, lat, rv);
}

double hc_j2000_long_rv_planet(int32_t planet, double jd, int32_t year, double *rv) {
    return position(planet, jd, year, NULL, rv);
}
