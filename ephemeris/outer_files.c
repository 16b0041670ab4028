/*
 * Outer-planet data files: Jupiter, Saturn, Uranus and Neptune from
 * polynomial coefficients, one 235-byte text record per five calendar years.
 * See outer_files.h for the record layout.
 *
 * Reading a record. Stepping day by day asks for the four outer planets at
 * every instant, and nearly always for the same record as the instant before
 * (one record spans five years). Opening the file, seeking, reading through
 * stdio and closing again cost about ten times the position itself, so:
 *
 * - On POSIX systems each file stays open (close-on-exec) together with the
 *   last 235 bytes read from it and their decoded record. Every request still
 *   goes to the file system: one stat() of the path, compared with the held
 *   file's device and inode (and mode and owner), reopening when
 *   they differ and answering PV_OPEN_FAILED when the path is gone; then one
 *   pread() of the record's 235 bytes, compared with the kept bytes. Equal
 *   bytes reuse the decoded record (decoding is a function of those bytes
 *   alone); any other bytes are decoded afresh. Timestamps are not trusted to
 *   show a rewrite: many file systems stamp writes coarsely, so the bytes
 *   themselves are compared. A file replaced by rename, rewritten in place,
 *   truncated, removed or made unreadable therefore answers exactly as a fresh
 *   open, read and close would, at the very next request.
 *
 *   Why (device, inode) is a safe identity here: while the library holds the
 *   file open, its inode cannot be freed, so no other file can take the same
 *   number on the same device.
 *
 * - On Windows every request opens the file (sharing read, write and delete,
 *   so that it can still be replaced meanwhile), reads the 235 bytes at the
 *   record's offset and closes it: identifying a file from its path there
 *   takes an open, so holding it would save nothing.
 *
 * Fields are converted with a "C" locale made once, instead of consulting the
 * process locale for every field.
 */
#if !defined(_WIN32) && !defined(_GNU_SOURCE)
#define _GNU_SOURCE /* strtod_l, newlocale, pread, O_CLOEXEC */
#endif

#include "ephemeris/outer_files.h"

#include <errno.h>
#include <locale.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#if defined(__APPLE__)
#include <xlocale.h>
#endif
#endif

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

/* ------------------------------------------------------------------------ */
/* Field conversion                                                          */

#if defined(_WIN32)
typedef _locale_t c_locale_t;
static c_locale_t make_c_locale(void) { return _create_locale(LC_NUMERIC, "C"); }
static double strtod_c(const char *s, char **end, c_locale_t loc) { return _strtod_l(s, end, loc); }
#else
typedef locale_t c_locale_t;
static c_locale_t make_c_locale(void) { return newlocale(LC_NUMERIC_MASK, "C", (locale_t)0); }
static double strtod_c(const char *s, char **end, c_locale_t loc) { return strtod_l(s, end, loc); }
#endif

/* The "C" locale for the conversions, made at the first decode and kept for
 * the life of the process (null if it could not be made). */
static c_locale_t g_c_locale;
static int g_c_locale_tried;

/* Converts the validated number text[0, n) ('.' as decimal point) into *out;
 * returns 0, or -1 unless the conversion took exactly those n characters. */
static int convert_number(const char *text, size_t n, double *out) {
    if (!g_c_locale_tried) {
        g_c_locale_tried = 1;
        g_c_locale = make_c_locale();
    }
    /* A copy ended by a terminator, so that the conversion sees nothing of
     * the next field; room for a locale's decimal point of up to 8 bytes. */
    char buffer[FIELD_WIDTH + 16];
    char *stop = NULL;
    size_t m = 0;
    double value;
    if (g_c_locale) {
        memcpy(buffer, text, n);
        m = n;
        buffer[m] = '\0';
        value = strtod_c(buffer, &stop, g_c_locale);
    } else {
        /* Without a "C" locale: strtod reads the decimal point of the current
         * locale, so hand it the locale's own in place of the files' '.'. */
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
/* Positioned reads                                                          */

/* Byte offset of record index, or -1 when it cannot be represented. */
static int64_t record_offset(int32_t index) {
    if (index < 0) return -1;
    const int64_t offset = (int64_t)PV_RECORD_BYTES * (int64_t)index;
#if !defined(_WIN32)
    /* off_t may be 32 bits wide on some systems. */
    if (sizeof(off_t) < sizeof(int64_t) && offset > (int64_t)INT32_MAX) return -1;
#endif
    return offset;
}

#if defined(_WIN32)

/* Reads up to PV_RECORD_BYTES at offset into buffer; returns the count, or
 * -1 on a read error. Loops on short reads. */
static long read_at(HANDLE file, int64_t offset, char *buffer) {
    long got = 0;
    while (got < PV_RECORD_BYTES) {
        OVERLAPPED at;
        memset(&at, 0, sizeof at);
        const uint64_t position = (uint64_t)offset + (uint64_t)got;
        at.Offset = (DWORD)(position & 0xffffffffu);
        at.OffsetHigh = (DWORD)(position >> 32);
        DWORD n = 0;
        if (!ReadFile(file, buffer + got, (DWORD)(PV_RECORD_BYTES - got), &n, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF) break;
            return -1;
        }
        if (n == 0) break;
        got += (long)n;
    }
    return got;
}

int pv_read_record_file(const char *path, int32_t index, pv_outer_record *rec) {
    memset(g_record_text, 0, sizeof g_record_text);
    const int64_t offset = record_offset(index);
    if (offset < 0) return PV_SEEK_FAILED;
    HANDLE file = CreateFileA(path, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return PV_OPEN_FAILED;
    /* Only a file on disk is a data file: a pipe or character device (CON,
     * NUL, COM1) in its place is refused as a missing file. Directories
     * already fail above, without FILE_FLAG_BACKUP_SEMANTICS. */
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return PV_OPEN_FAILED;
    }
    const long got = read_at(file, offset, g_record_text);
    CloseHandle(file);
    if (got < PV_RECORD_BYTES) return PV_READ_FAILED;
    return pv_decode_record(g_record_text, rec);
}

void pv_keep_files(int keep) { (void)keep; }
static void release_held_files(void) {}

static int read_record(const char *path, int32_t index, pv_outer_record *rec) {
    return pv_read_record_file(path, index, rec);
}

#else /* POSIX */

/* Reads up to PV_RECORD_BYTES at offset into buffer; returns the count, or
 * PV_SEEK_FAILED when the file cannot be positioned (a pipe, an offset the
 * system refuses), or PV_READ_FAILED on another read error. Loops on short
 * and interrupted reads. */
static long read_at(int fd, int64_t offset, char *buffer) {
    long got = 0;
    while (got < PV_RECORD_BYTES) {
        const ssize_t n = pread(fd, buffer + got, (size_t)(PV_RECORD_BYTES - got),
                                (off_t)(offset + got));
        if (n < 0) {
            if (errno == EINTR) continue;
            return (errno == ESPIPE || errno == EINVAL || errno == EOVERFLOW) ? PV_SEEK_FAILED
                                                                              : PV_READ_FAILED;
        }
        if (n == 0) break;
        got += (long)n;
    }
    return got;
}

/* Opens path read-only if it is a regular file; returns the descriptor, with
 * its status in *st, or -1. Only regular files are data files: a FIFO would
 * block open() until some writer appeared (and read() after that), a
 * directory or device has no records. O_NONBLOCK makes open() return at once
 * whatever the path names, and fstat() of the descriptor itself (not of the
 * path, which may have been swapped meanwhile) refuses the rest. O_NOCTTY:
 * a terminal named in place of a file must not become the controlling one.
 * O_NONBLOCK is still set on return (it changes nothing for regular files);
 * hold() clears it on the descriptors it keeps. */
static int open_regular(const char *path, struct stat *st) {
    int fd;
    do {
        fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return -1;
    if (fstat(fd, st) != 0 || !S_ISREG(st->st_mode)) {
        close(fd);
        return -1;
    }
    return fd;
}

int pv_read_record_file(const char *path, int32_t index, pv_outer_record *rec) {
    memset(g_record_text, 0, sizeof g_record_text);
    const int64_t offset = record_offset(index);
    if (offset < 0) return PV_SEEK_FAILED;
    /* Read once and closed: O_NONBLOCK is left as it is (no system call to
     * clear a flag that regular files ignore). */
    struct stat st;
    const int fd = open_regular(path, &st);
    if (fd < 0) return PV_OPEN_FAILED;
    const long got = read_at(fd, offset, g_record_text);
    close(fd);
    if (got < 0) return (int)got;
    if (got < PV_RECORD_BYTES) return PV_READ_FAILED;
    return pv_decode_record(g_record_text, rec);
}

/* One data file held open, with the identity it had when opened and the last
 * record read from it. */
typedef struct held_file {
    char path[PV_FOLDER_STORAGE];   /* "" when the slot is free */
    int fd;
    dev_t dev;
    ino_t ino;
    mode_t mode;
    uid_t uid;
    gid_t gid;
    int kept;                       /* bytes and record below are valid */
    char bytes[PV_RECORD_BYTES];
    pv_outer_record record;
} held_file;

#define HELD_FILES 4 /* the four planets' files */

static held_file g_held[HELD_FILES];
static unsigned g_next_slot;   /* the slot a fifth path takes */
static int g_keep_files = 1;

static void release(held_file *h) {
    if (h->path[0] != '\0' && h->fd >= 0) close(h->fd);
    h->path[0] = '\0';
    h->fd = -1;
    h->kept = 0;
}

static void release_held_files(void) {
    for (int i = 0; i < HELD_FILES; ++i) release(&g_held[i]);
}

void pv_keep_files(int keep) {
    g_keep_files = keep != 0;
    if (!g_keep_files) release_held_files();
}

/* The file at the path is still the one held, with the permissions it was
 * opened under: a file made unreadable must answer PV_OPEN_FAILED as a fresh
 * open would. Its contents are checked byte by byte at every read instead of
 * by time stamps, which many file systems set coarsely. */
static int same_file(const struct stat *a, const held_file *h) {
    return a->st_dev == h->dev && a->st_ino == h->ino && a->st_mode == h->mode &&
           a->st_uid == h->uid && a->st_gid == h->gid;
}

static held_file *slot_of(const char *path) {
    for (int i = 0; i < HELD_FILES; ++i) {
        if (g_held[i].path[0] != '\0' && strcmp(g_held[i].path, path) == 0) return &g_held[i];
    }
    for (int i = 0; i < HELD_FILES; ++i) {
        if (g_held[i].path[0] == '\0') return &g_held[i];
    }
    held_file *h = &g_held[g_next_slot];
    g_next_slot = (g_next_slot + 1) % HELD_FILES;
    release(h);
    return h;
}

/* (Re)opens the regular file at path into h; returns 0 or PV_OPEN_FAILED.
 * The identity is taken from the descriptor itself, so that a file swapped in
 * between the stat() and the open() (a FIFO, say) is never taken for the one
 * stat() saw. */
static int hold(held_file *h, const char *path) {
    release(h);
    struct stat st;
    const int fd = open_regular(path, &st);
    if (fd < 0) return PV_OPEN_FAILED;
    /* Held for many reads: back to ordinary blocking reads, so that the
     * descriptor behaves as a plain open() would have made it. A failure
     * changes nothing for a regular file and is not an error. */
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0 && (flags & O_NONBLOCK) != 0) (void)fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    strcpy(h->path, path); /* fits: both have PV_FOLDER_STORAGE bytes */
    h->fd = fd;
    h->dev = st.st_dev;
    h->ino = st.st_ino;
    h->mode = st.st_mode;
    h->uid = st.st_uid;
    h->gid = st.st_gid;
    h->kept = 0;
    return 0;
}

static int read_record(const char *path, int32_t index, pv_outer_record *rec) {
    if (!g_keep_files) return pv_read_record_file(path, index, rec);

    const int64_t offset = record_offset(index);
    if (offset < 0) return PV_SEEK_FAILED;
    held_file *h = slot_of(path);
    struct stat st;
    if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) {
        /* Gone (or unreachable), or not a regular file (a FIFO, directory or
         * device, never opened): what a fresh open would say. */
        release(h);
        return PV_OPEN_FAILED;
    }
    if (h->path[0] == '\0' || !same_file(&st, h)) {
        const int status = hold(h, path);
        if (status != 0) return status;
    }

    memset(g_record_text, 0, sizeof g_record_text);
    const long got = read_at(h->fd, offset, g_record_text);
    if (got < 0) return (int)got;
    if (got < PV_RECORD_BYTES) return PV_READ_FAILED;
    if (h->kept && memcmp(h->bytes, g_record_text, PV_RECORD_BYTES) == 0) {
        *rec = h->record;
        return 0;
    }
    h->kept = 0;
    const int status = pv_decode_record(g_record_text, rec);
    if (status != 0) return status;
    memcpy(h->bytes, g_record_text, PV_RECORD_BYTES);
    h->record = *rec;
    h->kept = 1;
    return 0;
}

#endif

/* ------------------------------------------------------------------------ */
/* Folder and requests                                                       */

void pv_set_folder(const char *folder) {
    /* Files of the folder in force are no longer wanted. */
    release_held_files();
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
 * against a stat() and a pread() per request: computed at every request
 * rather than kept with the held record. */
static int jd0_fits(double jd0, int32_t first_year, long long k) {
    const long long first = (long long)first_year + PV_YEARS_PER_RECORD * k;
    const double middle = pv_year_start_jd(first) + 0.5 * PV_YEARS_PER_RECORD * 365.25;
    return fabs(jd0 - middle) <= PV_JD0_TOLERANCE_DAYS;
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
    const int status = read_record(g_path, (int32_t)k, &g_record);
    if (status != 0) return status;
    if (!jd0_fits(g_record.jd0, first_year, k)) return PV_READ_FAILED;

    /* Finite fields can still overflow at the date (a coefficient of 1e300
     * and up): such a record gives no position, whichever coordinate it is. */
    g_result[0] = pv_evaluate_record(&g_record, jd, &g_result[1], &g_result[2]);
    for (int c = 0; c < PV_COORDINATES; ++c) {
        if (!isfinite(g_result[c])) return PV_NOT_SERVED;
    }
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
