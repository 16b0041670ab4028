/*
 * Outer-planet data files between requests: the data folder, the reading of
 * records, and what each thread keeps of them.
 *
 * Stepping through time asks for the four outer planets at every instant, and
 * nearly always for a record asked for a moment before (one record spans five
 * years). Opening the file, reading and decoding cost many times the position
 * itself, so each thread keeps, per data file, the file open and the last
 * records decoded from it. The promise stays that of a fresh open, read and
 * close: a file replaced by rename, rewritten in place, truncated, removed,
 * restored or made unreadable, or a new folder, gives the new answer at the
 * very next request, from whichever thread. Three ways keep it:
 *
 * - PV_CHECK_NOTIFY (Linux, the default): the thread holds an inotify
 *   instance watching the data folder, every folder above it (for the name
 *   of the next one) and each file it holds (for writes through another
 *   name). The kernel queues an event before the system call that changed
 *   the file returns, so the one read() without waiting that each request
 *   makes of the queue sees every change made before the request began; a
 *   change drops what was kept of that file (or of every file, for a change
 *   above the folder or a lost event). While nothing changes, a request
 *   costs that read() and a lookup: no stat(), no pread().
 *   Notifications are not used, and the thread falls back to PV_CHECK_STAT,
 *   where they may miss changes or cannot be had: a folder on a network or
 *   FUSE file system (changes made on another machine send no event), a
 *   relative folder (the working folder may change), a symbolic link or an
 *   odd name ("." or "..") among the folder's components, a data file that
 *   is a symbolic link (its target may be replaced elsewhere), and any
 *   failure to make the instance or a watch (limits on instances or watches,
 *   descriptors). A file system mounted over the folder or one above it
 *   sends no event and is not noticed.
 *
 * - PV_CHECK_STAT: every request checks the path with one stat() against
 *   the held file's device, inode, mode and owner (reopening when they
 *   differ, answering PV_OPEN_FAILED when the path is gone) and reads the
 *   record's 235 bytes again with one positioned read; only bytes equal to
 *   those kept reuse the kept decoding. Timestamps are not trusted to show a
 *   rewrite: many file systems stamp writes coarsely. While the file is held
 *   open its inode cannot be freed, so no other file can take its (device,
 *   inode) meanwhile.
 *
 * - PV_CHECK_OPEN (Windows always): every request opens the file (sharing
 *   read, write and delete, so that it can still be replaced meanwhile),
 *   reads the record and closes it; equal bytes reuse the kept decoding.
 *
 * Files are never mapped into memory: a file cut short under a mapping would
 * kill the process with SIGBUS at the next access.
 *
 * Threads. The data folder is one process-wide value under a lock, with a
 * generation number read without the lock at every request: a request takes
 * the folder whole, old or new. Everything else (the folder's copy, the held
 * files, the kept records, the inotify instance) belongs to one thread and is
 * freed when the thread ends, so requests share nothing and wait for nothing.
 */
#if !defined(_WIN32) && !defined(_GNU_SOURCE)
#define _GNU_SOURCE /* pread, O_CLOEXEC */
#endif

#include "ephemeris/kept_files.h"

#include <stdatomic.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif


/* ------------------------------------------------------------------------ */
/* The data folder                                                           */

static char g_folder[PV_FOLDER_STORAGE];
static int g_folder_unusable;                  /* the last folder given did not fit */
static atomic_ullong g_folder_generation;      /* +1 at every pv_set_folder */
static atomic_int g_check = PV_CHECK_NOTIFY;   /* pv_set_file_check */

#if defined(_WIN32)
static SRWLOCK g_folder_lock = SRWLOCK_INIT;
static void lock_folder(void) { AcquireSRWLockExclusive(&g_folder_lock); }
static void unlock_folder(void) { ReleaseSRWLockExclusive(&g_folder_lock); }
#else
static pthread_mutex_t g_folder_lock = PTHREAD_MUTEX_INITIALIZER;
static void lock_folder(void) { pthread_mutex_lock(&g_folder_lock); }
static void unlock_folder(void) { pthread_mutex_unlock(&g_folder_lock); }
#endif

/* ------------------------------------------------------------------------ */
/* What a thread keeps                                                       */

static void forget_records(kept_file *f) {
    for (int i = 0; i < KEPT_RECORDS; ++i) f->records[i].valid = 0;
}

kept_record *pv_kept_index(kept_file *f, int32_t index) {
    for (int i = 0; i < KEPT_RECORDS; ++i) {
        if (f->records[i].valid && f->records[i].index == index) return &f->records[i];
    }
    return NULL;
}

/* The decoding of the bytes of record index: the kept one when the same
 * bytes were decoded before, else decoded now and kept in place of the
 * record used longest ago. */
int pv_decode_kept(pv_thread *t, kept_file *f, int32_t index, const char *bytes,
                       pv_outer_record *rec) {
    kept_record *k = pv_kept_index(f, index);
    if (k != NULL && memcmp(k->bytes, bytes, PV_RECORD_BYTES) == 0) {
        k->used = ++t->clock;
        *rec = k->record;
        return 0;
    }
    if (k == NULL) {
        k = &f->records[0];
        for (int i = 1; i < KEPT_RECORDS; ++i) {
            kept_record *r = &f->records[i];
            if (!r->valid || (k->valid && r->used < k->used)) k = r;
        }
    }
    k->valid = 0;
    const int status = pv_decode_record(bytes, &k->record);
    if (status != 0) return status;
    memcpy(k->bytes, bytes, PV_RECORD_BYTES);
    k->index = index;
    k->used = ++t->clock;
    k->valid = 1;
    *rec = k->record;
    return 0;
}

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

/* ------------------------------------------------------------------------ */
/* Reading a record                                                          */

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

/* The 235 bytes of record index of the file at path, opened and closed. */
static int read_record_bytes(const char *path, int32_t index, char *bytes) {
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
    const long got = read_at(file, offset, bytes);
    CloseHandle(file);
    if (got < PV_RECORD_BYTES) return PV_READ_FAILED;
    return 0;
}

static void release_file(pv_thread *t, kept_file *f) {
    (void)t;
    f->name[0] = '\0';
    forget_records(f);
}

static void init_file(kept_file *f) { f->name[0] = '\0'; }

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

/* The record's bytes through a held descriptor: 0, or an error value. */
int pv_read_held(int fd, int64_t offset, char *bytes) {
    const long got = read_at(fd, offset, bytes);
    if (got < 0) return (int)got;
    return got < PV_RECORD_BYTES ? PV_READ_FAILED : 0;
}

/* Opens path read-only if it is a regular file; returns the descriptor, with
 * its status in *st, or -1. Only regular files are data files: a FIFO would
 * block open() until some writer appeared (and read() after that), a
 * directory or device has no records. O_NONBLOCK makes open() return at once
 * whatever the path names, and fstat() of the descriptor itself (not of the
 * path, which may have been swapped meanwhile) refuses the rest. O_NOCTTY:
 * a terminal named in place of a file must not become the controlling one.
 * O_NONBLOCK changes nothing for the regular files that pass. */
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

static int read_record_bytes(const char *path, int32_t index, char *bytes) {
    const int64_t offset = record_offset(index);
    if (offset < 0) return PV_SEEK_FAILED;
    struct stat st;
    const int fd = open_regular(path, &st);
    if (fd < 0) return PV_OPEN_FAILED;
    const int status = pv_read_held(fd, offset, bytes);
    close(fd);
    return status;
}

static void init_file(kept_file *f) {
    f->name[0] = '\0';
    f->fd = -1;
    f->notified = 0;
    f->wd = -1;
}

/* Closes what is held of f and forgets its records; the slot keeps its name. */
void pv_close_file(pv_thread *t, kept_file *f) {
    pv_unwatch_file(t, f);
    if (f->fd >= 0) close(f->fd);
    f->fd = -1;
    f->notified = 0;
    forget_records(f);
}

static void release_file(pv_thread *t, kept_file *f) {
    pv_close_file(t, f);
    f->name[0] = '\0';
}

/* The file at the path is still the one held, with the permissions it was
 * opened under: a file made unreadable must answer PV_OPEN_FAILED as a fresh
 * open would. */
static int same_file(const struct stat *a, const kept_file *f) {
    return a->st_dev == f->dev && a->st_ino == f->ino && a->st_mode == f->mode &&
           a->st_uid == f->uid && a->st_gid == f->gid;
}

/* (Re)opens the regular file at path into f; returns 0 or PV_OPEN_FAILED.
 * The identity is taken from the descriptor itself, so that a file swapped in
 * between a stat() and the open() (a FIFO, say) is never taken for the one
 * stat() saw. Kept records stay: their decodings depend on bytes alone. */
int pv_hold_file(pv_thread *t, kept_file *f, const char *path) {
    pv_unwatch_file(t, f);
    if (f->fd >= 0) close(f->fd);
    f->fd = -1;
    f->notified = 0;
    struct stat st;
    const int fd = open_regular(path, &st);
    if (fd < 0) return PV_OPEN_FAILED;
    f->fd = fd;
    f->dev = st.st_dev;
    f->ino = st.st_ino;
    f->mode = st.st_mode;
    f->uid = st.st_uid;
    f->gid = st.st_gid;
    return 0;
}

/* PV_CHECK_STAT: one stat() of the path, one read of the record. */
int pv_read_by_stat(pv_thread *t, kept_file *f, const char *path, int32_t index,
                        int64_t offset, pv_outer_record *rec) {
    t->used = PV_CHECK_STAT;
    struct stat st;
    if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) {
        /* Gone (or unreachable), or not a regular file (a FIFO, directory or
         * device, never opened): what a fresh open would say. */
        pv_close_file(t, f);
        return PV_OPEN_FAILED;
    }
    if (f->fd < 0 || !same_file(&st, f)) {
        const int status = pv_hold_file(t, f, path);
        if (status != 0) return status;
    }
    char bytes[PV_RECORD_BYTES];
    const int status = pv_read_held(f->fd, offset, bytes);
    if (status != 0) return status;
    return pv_decode_kept(t, f, index, bytes, rec);
}

#endif /* POSIX */

/* ------------------------------------------------------------------------ */
/* Change notifications                                                      */

#if !PV_HAVE_NOTIFY
void pv_forget_watch(pv_thread *t) { (void)t; }
#if !defined(_WIN32)
void pv_unwatch_file(pv_thread *t, kept_file *f) { (void)t, (void)f; }
#endif
#endif

/* ------------------------------------------------------------------------ */
/* The thread's state                                                        */

static void init_thread(pv_thread *t) {
    memset(t, 0, sizeof *t);
    t->check = -1;
    t->used = -1;
    for (int i = 0; i < KEPT_FILES; ++i) init_file(&t->files[i]);
#if PV_HAVE_NOTIFY
    t->notify_fd = -1;
#endif
}

static void release_files(pv_thread *t) {
    for (int i = 0; i < KEPT_FILES; ++i) release_file(t, &t->files[i]);
}

/* The instance is closed first, without removing its watches one by one:
 * after a fork the child's copy shares the parent's instance, and removing a
 * watch there would remove it for the parent too. */
static void release_thread(pv_thread *t) {
    pv_forget_watch(t);
    release_files(t);
}

#if defined(_WIN32)

/* Plain data only (nothing to close): the compiler's thread storage frees it
 * with the thread. */
static _Thread_local pv_thread t_state;
static _Thread_local int t_ready;

static pv_thread *this_thread(void) {
    if (!t_ready) {
        init_thread(&t_state);
        t_ready = 1;
    }
    return &t_state;
}

#else

/* Each thread's state hangs from a key (not from compiler thread storage,
 * which would make the library need the dynamic loader's __tls_get_addr). */
static pthread_key_t g_thread_key;
static pthread_once_t g_thread_once = PTHREAD_ONCE_INIT;
static int g_thread_key_made;

/* At the end of a thread: its descriptors closed, its storage freed. */
static void end_thread(void *p) {
    pv_thread *t = (pv_thread *)p;
    release_thread(t);
    free(t);
}

#if PV_HAVE_NOTIFY
static atomic_uint g_fork_generation;
/* A child process shares its parent's inotify instances: each of its threads
 * must make its own before reading one, or the two would take each other's
 * events. */
static void after_fork_in_child(void) { atomic_fetch_add(&g_fork_generation, 1); }
#endif

static void make_thread_key(void) {
    g_thread_key_made = pthread_key_create(&g_thread_key, end_thread) == 0;
#if PV_HAVE_NOTIFY
    (void)pthread_atfork(NULL, NULL, after_fork_in_child);
#endif
}

/* When the library is unloaded (or the process ends), the unloading thread's
 * state is freed; the key must not call end_thread() after the code is gone,
 * so the states of threads that live on are left (their descriptors are
 * close-on-exec). */
#if defined(__GNUC__)
__attribute__((destructor)) static void unload_library(void) {
    if (!g_thread_key_made) return;
    pv_thread *t = (pv_thread *)pthread_getspecific(g_thread_key);
    if (t != NULL) {
        (void)pthread_setspecific(g_thread_key, NULL);
        end_thread(t);
    }
    pthread_key_delete(g_thread_key);
    g_thread_key_made = 0;
}
#endif

static pv_thread *this_thread(void) {
    pthread_once(&g_thread_once, make_thread_key);
    if (!g_thread_key_made) return NULL;
    pv_thread *t = (pv_thread *)pthread_getspecific(g_thread_key);
    if (t != NULL) return t;
    t = (pv_thread *)malloc(sizeof *t);
    if (t == NULL) return NULL;
    init_thread(t);
    if (pthread_setspecific(g_thread_key, t) != 0) {
        free(t);
        return NULL;
    }
    return t;
}

#endif

/* The folder, the check and (after a fork) the instance in force for this
 * request; what was kept under others is let go. */
static void bring_up_to_date(pv_thread *t) {
    const int check = atomic_load_explicit(&g_check, memory_order_relaxed);
    if (check != t->check) {
        release_thread(t);
        t->check = check;
    }
#if PV_HAVE_NOTIFY
    const unsigned forks = atomic_load_explicit(&g_fork_generation, memory_order_relaxed);
    if (forks != t->fork_generation) {
        release_thread(t);
        t->fork_generation = forks;
    }
#endif
    const unsigned long long generation =
        atomic_load_explicit(&g_folder_generation, memory_order_acquire);
    if (t->has_folder && generation == t->folder_generation) return;
    lock_folder();
    memcpy(t->folder, g_folder, sizeof t->folder);
    t->folder_unusable = g_folder_unusable;
    t->folder_generation = atomic_load_explicit(&g_folder_generation, memory_order_relaxed);
    unlock_folder();
    t->has_folder = 1;
    release_thread(t);
}

/* ------------------------------------------------------------------------ */
/* Interface                                                                 */

void pv_set_folder(const char *folder) {
    char copy[PV_FOLDER_STORAGE];
    size_t n = 0;
    if (folder != NULL) {
        while (n < PV_FOLDER_STORAGE && folder[n] != '\0') ++n;
    }
    /* 256 characters or more: keep nothing of it rather than a truncated
     * folder that could name some other place. */
    const int unusable = n >= PV_FOLDER_STORAGE;
    if (unusable) n = 0;
    if (n > 0) memcpy(copy, folder, n);
    copy[n] = '\0';
    lock_folder();
    memcpy(g_folder, copy, n + 1);
    g_folder_unusable = unusable;
    atomic_fetch_add_explicit(&g_folder_generation, 1, memory_order_release);
    unlock_folder();
    /* The calling thread lets go of the old folder's files at once; other
     * threads at their next request. */
    pv_thread *t = this_thread();
    if (t != NULL) bring_up_to_date(t);
}

const char *pv_folder(void) {
    pv_thread *t = this_thread();
    if (t == NULL) return "";
    bring_up_to_date(t);
    return t->folder;
}

void pv_set_file_check(int check) {
    if (check == PV_CHECK_OPEN || check == PV_CHECK_STAT || check == PV_CHECK_NOTIFY)
        atomic_store_explicit(&g_check, check, memory_order_relaxed);
}

int pv_file_check_used(void) {
    pv_thread *t = this_thread();
    return t != NULL ? t->used : -1;
}

int pv_read_record_file(const char *path, int32_t index, pv_outer_record *rec) {
    char bytes[PV_RECORD_BYTES];
    const int status = read_record_bytes(path, index, bytes);
    if (status != 0) return status;
    return pv_decode_record(bytes, rec);
}

/* The slot of file name: its own, a free one, or the next in turn. */
static kept_file *file_slot(pv_thread *t, const char *name) {
    for (int i = 0; i < KEPT_FILES; ++i) {
        if (t->files[i].name[0] != '\0' && strcmp(t->files[i].name, name) == 0)
            return &t->files[i];
    }
    kept_file *f = NULL;
    for (int i = 0; i < KEPT_FILES && f == NULL; ++i) {
        if (t->files[i].name[0] == '\0') f = &t->files[i];
    }
    if (f == NULL) {
        f = &t->files[t->next_file];
        t->next_file = (t->next_file + 1) % KEPT_FILES;
        release_file(t, f);
    }
    strcpy(f->name, name); /* fits: the caller checked folder + name */
    return f;
}

static int request(pv_thread *t, const char *file_name, int32_t index, pv_outer_record *rec) {
    bring_up_to_date(t);
    if (t->folder_unusable) return PV_OPEN_FAILED;
    if (t->folder[0] == '\0') return PV_NO_FOLDER;

    /* Folder followed directly by the file name; no separator is inserted.
     * A path that does not fit the 255-character storage cannot be opened. */
    char path[PV_FOLDER_STORAGE];
    const size_t folder_len = strlen(t->folder);
    const size_t name_len = file_name ? strlen(file_name) : 0;
    if (folder_len + name_len >= sizeof path) return PV_OPEN_FAILED;
    memcpy(path, t->folder, folder_len);
    if (name_len > 0) memcpy(path + folder_len, file_name, name_len);
    path[folder_len + name_len] = '\0';
    const int64_t offset = record_offset(index);
    if (offset < 0) return PV_SEEK_FAILED;
    kept_file *f = file_slot(t, name_len > 0 ? file_name : "");

#if !defined(_WIN32)
    if (t->check == PV_CHECK_STAT) return pv_read_by_stat(t, f, path, index, offset, rec);
#if PV_HAVE_NOTIFY
    if (t->check == PV_CHECK_NOTIFY) return pv_read_notified(t, f, path, index, offset, rec);
#else
    if (t->check == PV_CHECK_NOTIFY) return pv_read_by_stat(t, f, path, index, offset, rec);
#endif
#endif
    t->used = PV_CHECK_OPEN;
    char bytes[PV_RECORD_BYTES];
    const int status = read_record_bytes(path, index, bytes);
    if (status != 0) return status;
    return pv_decode_kept(t, f, index, bytes, rec);
}

int pv_request_record(const char *file_name, int32_t index, pv_outer_record *rec) {
    pv_thread *t = this_thread();
    if (t != NULL) return request(t, file_name, index, rec);
    /* No memory for the thread's state: a state for this request alone. */
    pv_thread scratch;
    init_thread(&scratch);
    const int status = request(&scratch, file_name, index, rec);
    release_thread(&scratch);
    return status;
}
