/*
 * Internal to planets_vemo: what each thread keeps of the outer-planet data
 * files between requests (record_files.c), and the change notifications
 * that keep it current on Linux (folder_watch.c). See record_files.c.
 */
#ifndef VEMO_EPHEMERIS_KEPT_FILES_H
#define VEMO_EPHEMERIS_KEPT_FILES_H

#include "ephemeris/outer_files.h"

#include <stdint.h>

#if !defined(_WIN32)
#include <sys/types.h>
#endif

#if defined(__linux__)
#define PV_HAVE_NOTIFY 1
#else
#define PV_HAVE_NOTIFY 0
#endif

#define KEPT_FILES 4    /* the four planets' files */
#define KEPT_RECORDS 4  /* per file: a natal and a transit date, and their neighbours */
#define MAX_WATCHED_DIRS 128  /* "/" and every folder of a 255-byte path */

typedef struct kept_record {
    int valid;
    int32_t index;
    unsigned long long used;         /* the thread's clock at the last use */
    char bytes[PV_RECORD_BYTES];     /* the record as read */
    pv_outer_record record;          /* and decoded: a function of the bytes alone */
} kept_record;

typedef struct kept_file {
    char name[PV_FOLDER_STORAGE];    /* file name within the folder; "" when free */
    kept_record records[KEPT_RECORDS];
#if !defined(_WIN32)
    int fd;                          /* held open, or -1 */
    dev_t dev;                       /* identity when opened */
    ino_t ino;
    mode_t mode;
    uid_t uid;
    gid_t gid;
    int notified;                    /* changes arrive as events (else: stat) */
    int wd;                          /* inotify watch of the file's inode, or -1 */
#endif
} kept_file;

typedef struct pv_thread {
    int has_folder;
    unsigned long long folder_generation;
    char folder[PV_FOLDER_STORAGE];
    int folder_unusable;
    int check;                       /* the check the state below was built for */
    int used;                        /* the check of the last request, or -1 */
    unsigned long long clock;
    unsigned next_file;              /* the slot a fifth file takes */
    kept_file files[KEPT_FILES];
#if PV_HAVE_NOTIFY
    unsigned fork_generation;
    int notify_fd;                   /* inotify instance, or -1 */
    int watching;                    /* 1 watching, 0 not yet, -1 failed */
    unsigned retry_in;               /* requests until a failed watch is tried again */
    int dirs;                        /* watched folders: "/" .. the data folder */
    int dir_wd[MAX_WATCHED_DIRS];
    short child_at[MAX_WATCHED_DIRS];  /* the next folder's name in folder[]; */
    short child_len[MAX_WATCHED_DIRS]; /* 0 for the data folder itself */
#endif
} pv_thread;

/* The kept record of index, or null. */
kept_record *pv_kept_index(kept_file *f, int32_t index);

/* The decoding of the bytes of record index: the kept one when the same
 * bytes were decoded before, else decoded now and kept in place of the
 * record used longest ago. 0 with *rec, or PV_READ_FAILED. */
int pv_decode_kept(pv_thread *t, kept_file *f, int32_t index, const char *bytes,
                   pv_outer_record *rec);

/* Ends the notifications of the thread (closing the instance); the files
 * that relied on them are dropped. */
void pv_forget_watch(pv_thread *t);

#if !defined(_WIN32)
/* The record's 235 bytes through a held descriptor: 0, or an error value. */
int pv_read_held(int fd, int64_t offset, char *bytes);

/* (Re)opens the regular file at path into f: 0 or PV_OPEN_FAILED. */
int pv_hold_file(pv_thread *t, kept_file *f, const char *path);

/* Closes what is held of f and forgets its records; the slot keeps its name. */
void pv_close_file(pv_thread *t, kept_file *f);

/* Removes the watch of f's inode unless another name of it shares it. */
void pv_unwatch_file(pv_thread *t, kept_file *f);

/* The request checked by one stat() of the path and one read of the record. */
int pv_read_by_stat(pv_thread *t, kept_file *f, const char *path, int32_t index, int64_t offset,
                    pv_outer_record *rec);
#endif

#if PV_HAVE_NOTIFY
/* The request checked by the thread's notifications (by stat() where they
 * cannot be had). */
int pv_read_notified(pv_thread *t, kept_file *f, const char *path, int32_t index, int64_t offset,
                     pv_outer_record *rec);
#endif

#endif
