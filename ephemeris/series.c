/*
 * Analytical series of P. Bretagnon and J.-L. Simon, "Planetary Programs and
 * Tables from -4000 to +2800" (Willmann-Bell, 1986): the Sun (true geometric
 * longitude and radius vector, 50 terms), Mercury, Venus and Mars (longitude,
 * latitude, radius vector), mean ecliptic and equinox of date.
 *
 * Each body is a secular mean longitude, a sum of periodic terms with integer
 * amplitudes in 1e-7 rad or 1e-7 AU, and a few terms whose amplitudes and
 * phases are polynomials in time. The periodic terms are in series_tables.c,
 * generated from ephemeris/data/periodic-series.txt; the polynomial
 * coefficients are the publication's and are kept here.
 */
#include "ephemeris/series.h"

#include <math.h>

/* Scale of the integer amplitudes of the periodic terms. */
#define PV_AMPLITUDE_UNIT 1e-7

/* Time from J2000.0 in units of 10 000 Julian years. */
static double time_argument(double jd) { return (jd - PV_J2000) / PV_DAYS_PER_UNIT; }

/* Polynomial with coefficients c[0] (constant) .. c[n - 1], Horner's scheme. */
static double horner(const double *c, int n, double u) {
    double v = c[n - 1];
    for (int i = n - 2; i >= 0; --i) v = v * u + c[i];
    return v;
}

/* Sum of A sin(alpha + nu U) (or cos) in table order, in units of the amplitudes. */
static double sum_sin(const pv_term *t, int n, double u) {
    double s = 0.0;
    for (int i = 0; i < n; ++i) s += t[i].a * sin(t[i].alpha + t[i].nu * u);
    return s;
}

static double sum_cos(const pv_term *t, int n, double u) {
    double s = 0.0;
    for (int i = 0; i < n; ++i) s += t[i].a * cos(t[i].alpha + t[i].nu * u);
    return s;
}

/* Floating remainder by 2 pi, shifted into [0, 2 pi). A remainder of -0.0 or a
 * tiny negative one would round up to 2 pi itself; that is one turn, i.e. 0. */
static double reduce_remainder(double x) {
    double r = fmod(x, PV_TWO_PI);
    if (r < 0.0) r += PV_TWO_PI;
    if (r >= PV_TWO_PI) r = 0.0;
    return r;
}

double pv_reduce_turns(double x) {
    if (!isfinite(x)) return x;
    if (x >= 0.0 && x < PV_TWO_PI) return x;
    if (fabs(x) > PV_REDUCE_LOOP_LIMIT) x = fmod(x, PV_TWO_PI);
    while (x < 0.0) x += PV_TWO_PI;
    while (x >= PV_TWO_PI) x -= PV_TWO_PI;
    return x;
}

#define COUNT(a) ((int)(sizeof(a) / sizeof((a)[0])))

double pv_sun(double jd, double *r) {
    const double u = time_argument(jd);
    double sl = 0.0, sr = 0.0;
    for (int i = 0; i < PV_SUN_TERMS; ++i) {
        const double arg = pv_sun_terms[i].alpha + pv_sun_terms[i].nu * u;
        sl += pv_sun_terms[i].l * sin(arg);
        sr += pv_sun_terms[i].r * cos(arg);
    }
    if (r) *r = 1.0001026 + PV_AMPLITUDE_UNIT * sr;
    return reduce_remainder(4.9353929 + 62833.196168 * u + PV_AMPLITUDE_UNIT * sl);
}

/* Mercury: amplitude (1e-6 rad) and phase (rad) polynomials of the longitude. */
static const double kMercuryP[] = {409894.2, 2435, -1408, 114, 233, -88};
static const double kMercuryQ[] = {3.053817, 260878.756773, -0.001093, -0.00093, 0.00043, 0.00014};

double pv_mercury(double jd, double *b, double *r) {
    const double u = time_argument(jd);
    const double l = 4.4429839 + 260881.4701279 * u +
                     PV_AMPLITUDE_UNIT *
                         sum_sin(pv_mercury_longitude_terms, PV_MERCURY_LONGITUDE_TERMS, u) +
                     1e-6 * horner(kMercuryP, COUNT(kMercuryP), u) *
                         sin(horner(kMercuryQ, COUNT(kMercuryQ), u));
    if (b) *b = PV_AMPLITUDE_UNIT * sum_sin(pv_mercury_latitude_terms, PV_MERCURY_LATITUDE_TERMS, u);
    if (r)
        *r = 0.395202 +
             PV_AMPLITUDE_UNIT * sum_cos(pv_mercury_radius_terms, PV_MERCURY_RADIUS_TERMS, u);
    return reduce_remainder(l);
}

/* Venus: longitude polynomials P1, Q1, P2, Q2 (amplitudes 1e-6 rad), latitude
 * P3..Q4 (1e-7 rad), radius P5..Q6 (1e-7 AU); phases in rad. */
static const double kVenusP1[] = {13539.7, -9570, 1987, 927, 230, -51, 10};
static const double kVenusQ1[] = {0.88074, 102132.84648, 0.24082, 0.1004, 0.0355, -0.0017, -0.0151};
static const double kVenusP2[] = {898.9, 112.4, -170, 113, 34, -79, 56};
static const double kVenusQ2[] = {0.5941, 204267.313, 0.014, 0.123, -0.146, 0.052};
static const double kVenusP3[] = {4011, -2713, 490, 290, 90};
static const double kVenusQ3[] = {2.7182, 204266.568, 0.225, 0.102, 0.035};
static const double kVenusP4[] = {101, 26, -64};
static const double kVenusQ4[] = {2.66, 306400.49, 0.45};
static const double kVenusP5[] = {48982, -34549, 7096, 3360, 890, -210};
static const double kVenusQ5[] = {4.02152, 102132.84695, 0.242, 0.0994, 0.0351, -0.0013, -0.015};
static const double kVenusP6[] = {166, -234, 131};
static const double kVenusQ6[] = {4.9, 204265.69, 0.48, 0.2};

double pv_venus(double jd, double *b, double *r) {
    const double u = time_argument(jd);
    const double l =
        3.2184413 + 102135.2937764 * u +
        PV_AMPLITUDE_UNIT * sum_sin(pv_venus_longitude_terms, PV_VENUS_LONGITUDE_TERMS, u) +
        1e-6 * horner(kVenusP1, COUNT(kVenusP1), u) * sin(horner(kVenusQ1, COUNT(kVenusQ1), u)) +
        1e-6 * horner(kVenusP2, COUNT(kVenusP2), u) * sin(horner(kVenusQ2, COUNT(kVenusQ2), u));
    if (b)
        *b = PV_AMPLITUDE_UNIT * sum_sin(pv_venus_latitude_terms, PV_VENUS_LATITUDE_TERMS, u) +
             1e-7 * horner(kVenusP3, COUNT(kVenusP3), u) *
                 sin(horner(kVenusQ3, COUNT(kVenusQ3), u)) +
             1e-7 * horner(kVenusP4, COUNT(kVenusP4), u) *
                 sin(horner(kVenusQ4, COUNT(kVenusQ4), u));
    if (r)
        *r = 0.7235481 +
             PV_AMPLITUDE_UNIT * sum_cos(pv_venus_radius_terms, PV_VENUS_RADIUS_TERMS, u) +
             1e-7 * horner(kVenusP5, COUNT(kVenusP5), u) *
                 cos(horner(kVenusQ5, COUNT(kVenusQ5), u)) +
             1e-7 * horner(kVenusP6, COUNT(kVenusP6), u) *
                 cos(horner(kVenusQ6, COUNT(kVenusQ6), u));
    return reduce_remainder(l);
}

/* Mars: longitude P1, Q1 (1e-6 rad), latitude P2..Q4 (1e-7 rad), radius
 * P5..Q6 (1e-6 AU); phases in rad. */
static const double kMarsP1[] = {186563.7, 18135, -1332, -704, -65, -89, 9};
static const double kMarsQ1[] = {0.337967, 33405.348759, 0.031676, -0.007354, 0.001143, -0.00029, -0.0001};
static const double kMarsP2[] = {319714, -10277, 24272, -2420, -10850, 3880, 5310, -1050};
static const double kMarsQ2[] = {5.339102, 33407.21879, 0.048, -0.04831, 0.01402, 0.029, -0.0073, -0.0112};
static const double kMarsP3[] = {29803, 1904, 1865, -60, -950, 220, 270};
static const double kMarsQ3[] = {5.67694, 66812.5668, 0.0803, -0.0536, 0.0147, 0.028};
static const double kMarsP4[] = {3137, 472, 111, 70};
static const double kMarsQ4[] = {6.0173, 100217.928, 0.093, -0.086, 0.037};
static const double kMarsP5[] = {141849.5, 13651.8, -1230, -378, 187, -153, -73};
static const double kMarsQ5[] = {3.479698, 33405.34956, 0.030669, -0.00909, 0.00223, 0.00083, -0.00048};
static const double kMarsP6[] = {6607.8, 1272.8, -53, -46, 14, -12, 99};
static const double kMarsQ6[] = {3.81781, 66810.6991, 0.0613, -0.0182, 0.0044, 0.0012, 0.002};

double pv_mars(double jd, double *b, double *r) {
    const double u = time_argument(jd);
    const double l =
        6.2458611 + 33408.5620646 * u +
        PV_AMPLITUDE_UNIT * sum_sin(pv_mars_longitude_terms, PV_MARS_LONGITUDE_TERMS, u) +
        1e-6 * horner(kMarsP1, COUNT(kMarsP1), u) * sin(horner(kMarsQ1, COUNT(kMarsQ1), u));
    if (b)
        *b = PV_AMPLITUDE_UNIT * sum_sin(pv_mars_latitude_terms, PV_MARS_LATITUDE_TERMS, u) +
             1e-7 * (horner(kMarsP2, COUNT(kMarsP2), u) * sin(horner(kMarsQ2, COUNT(kMarsQ2), u)) +
                     horner(kMarsP3, COUNT(kMarsP3), u) * sin(horner(kMarsQ3, COUNT(kMarsQ3), u)) +
                     horner(kMarsP4, COUNT(kMarsP4), u) * sin(horner(kMarsQ4, COUNT(kMarsQ4), u)));
    if (r)
        *r = 1.529856 + PV_AMPLITUDE_UNIT * sum_cos(pv_mars_radius_terms, PV_MARS_RADIUS_TERMS, u) +
             1e-6 * (horner(kMarsP5, COUNT(kMarsP5), u) * cos(horner(kMarsQ5, COUNT(kMarsQ5), u)) +
                     horner(kMarsP6, COUNT(kMarsP6), u) * cos(horner(kMarsQ6, COUNT(kMarsQ6), u)));
    /* Mars has always been reduced by whole turns rather than by a remainder. */
    return pv_reduce_turns(l);
}
