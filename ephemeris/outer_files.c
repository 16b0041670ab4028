/*
 * Outer-planet data files: Jupiter, Saturn, Uranus and Neptune from
 * polynomial coefficients, one 235-byte text record per five calendar years.
 * See outer_files.h for the record layout.
 *
 * Every request opens the file, reads one record and closes it again; nothing
 * is cached, so a replaced file takes effect at the next request.
 */
#include "ephemeris/outer_files.h"

#include <locale.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Process-wide storage of the library (zero at load). */
static char g_folder[PV_FOLDER_STORAGE];
static int g_folder_unusable;          /* the last folder given did not fit */
static char g_path[PV_FOLDER_STORAGE];
static char g_record_text[PV_RECORD_STORAGE];
static pv_outer_record g_record;
static double g_result[PV_COORDINATES];

#define FIELD_WIDTH 10
#define NUMBER_OFFSET 0
#define NUMBER_WIDTH 5
#define JD0_OFFSET 5
#define UNUSED_OFFSET 15
#define COEF_OFFSET 25

void pv_set_folder(const char *folder) {
    size_t n = 0;
    if (folder != NULL) {
        while (n < PV_FOLDER_STORAGE && folder[n] != '\0') ++n;
    }
    if (n >= PV_FOLDER_STORAGE) {
        /* 256 characters or more: keep nothing of it rather than a truncated
         * folder that could name some other place. */
        g_folder[0] = '\0';
        g_folder_unusable = 1;
        return;
    }
    if (n > 0) memmove(g_folder, folder, n); /* folder may be pv_folder() itself */
    g_folder[n] = '\0';
    g_folder_unusable = 0;
}

const char *pv_folder(void) { return g_folder; }

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

    /* strtod reads the decimal point of the current locale; the files always
     * use '.', so hand it the locale's own. */
    char buffer[FIELD_WIDTH + 16];
    const char *point = localeconv()->decimal_point;
    const size_t point_len = (point != NULL && point[0] != '\0') ? strlen(point) : 0;
    size_t n = 0;
    for (const char *c = start; c < number_end; ++c) {
        if (*c == '.' && point_len > 0 && point_len <= 8) {
            memcpy(buffer + n, point, point_len);
            n += point_len;
        } else {
            buffer[n++] = *c;
        }
    }
    buffer[n] = '\0';
    char *stop = NULL;
    const double value = strtod(buffer, &stop);
    if (stop != buffer + n || !isfinite(value)) return -1;
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

int pv_read_record_file(const char *path, int32_t index, pv_outer_record *rec) {
    memset(g_record_text, 0, sizeof g_record_text);
    if (index < 0) return PV_SEEK_FAILED;
    FILE *f = fopen(path, "rb");
    if (f == NULL) return PV_OPEN_FAILED;
    if (fseek(f, (long)PV_RECORD_BYTES * (long)index, SEEK_SET) != 0) {
        fclose(f);
        return PV_SEEK_FAILED;
    }
    const size_t got = fread(g_record_text, 1, PV_RECORD_BYTES, f);
    fclose(f);
    if (got < PV_RECORD_BYTES) return PV_READ_FAILED;
    return pv_decode_record(g_record_text, rec);
}

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

int pv_outer_evaluate(double jd, int32_t year, int32_t first_year, int32_t limit_year,
                      const char *file_name, double result[3]) {
    if (year < first_year) return PV_BEFORE_DATA;
    if (year >= limit_year) return PV_AFTER_DATA;
    /* Exact: the difference is not negative. Computed wide for any first year. */
    const long long k = ((long long)year - (long long)first_year) / PV_YEARS_PER_RECORD;

    if (g_folder_unusable) return PV_OPEN_FAILED;
    if (g_folder[0] == '\0') return PV_NO_FOLDER;

    /* Folder followed directly by the file name; no separator is inserted.
     * A path that does not fit the 255-character storage cannot be opened. */
    const size_t folder_len = strlen(g_folder);
    const size_t name_len = file_name ? strlen(file_name) : 0;
    if (folder_len + name_len >= sizeof g_path) return PV_OPEN_FAILED;
    memcpy(g_path, g_folder, folder_len);
    if (name_len > 0) memcpy(g_path + folder_len, file_name, name_len);
    g_path[folder_len + name_len] = '\0';

    if (k > 0x7fffffffLL) return PV_SEEK_FAILED;
    const int status = pv_read_record_file(g_path, (int32_t)k, &g_record);
    if (status != 0) return status;

    g_result[0] = pv_evaluate_record(&g_record, jd, &g_result[1], &g_result[2]);
    for (int c = 0; c < PV_COORDINATES; ++c) result[c] = g_result[c];
    return 0;
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
