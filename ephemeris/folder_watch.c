/*
 * Change notifications of the outer-planet data files on Linux: each thread's
 * inotify instance, read without waiting at every request (record_files.c
 * says why and when it is used).
 */
#if !defined(_GNU_SOURCE)
#define _GNU_SOURCE
#endif

#include "ephemeris/kept_files.h"

#if PV_HAVE_NOTIFY

#include <errno.h>
#include <string.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

/* File systems on which a change made by another machine (or a FUSE server)
 * sends no event here: statfs() f_type values of <linux/magic.h> and the
 * file systems' own headers. */
static int remote_file_system(unsigned long type) {
    switch (type & 0xffffffffUL) {
    case 0x6969UL:      /* NFS */
    case 0x517BUL:      /* SMB */
    case 0xFF534D42UL:  /* CIFS */
    case 0xFE534D42UL:  /* SMB2 */
    case 0x65735546UL:  /* FUSE (sshfs, ...) */
    case 0x01021997UL:  /* 9P */
    case 0x5346414FUL:  /* AFS */
    case 0x6B414653UL:  /* kAFS */
    case 0x00C36400UL:  /* Ceph */
    case 0x73757245UL:  /* Coda */
    case 0x564CUL:      /* NCP */
    case 0x7461636FUL:  /* OCFS2 */
    case 0x01161970UL:  /* GFS2 */
    case 0x0BD00BD0UL:  /* Lustre */
    case 0x20030528UL:  /* OrangeFS */
        return 1;
    default:
        return 0;
    }
}

/* A change to one of these ends what is kept of the file or of the folder's
 * meaning: a write, truncation, permission or owner change, a name coming,
 * going or moving, the watched thing itself removed or moved. */
#define FOLDER_EVENTS                                                                         \
    (IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |           \
     IN_DELETE_SELF | IN_MOVE_SELF)
#define ABOVE_EVENTS                                                                          \
    (IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF |      \
     IN_MOVE_SELF)
#define FILE_EVENTS (IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF)

/* Requests answered by stat() before a failed watch is tried again. */
#define WATCH_RETRY_AFTER 4096

void pv_unwatch_file(pv_thread *t, kept_file *f) {
    if (f->wd < 0) return;
    const int wd = f->wd;
    f->wd = -1;
    /* Two names of one inode share the watch. */
    for (int i = 0; i < KEPT_FILES; ++i) {
        if (t->files[i].wd == wd) return;
    }
    if (t->notify_fd >= 0) (void)inotify_rm_watch(t->notify_fd, wd);
}

/* Closes the instance (and with it every watch); the files that relied on it
 * are dropped, those checked by stat() stay. */
void pv_forget_watch(pv_thread *t) {
    for (int i = 0; i < KEPT_FILES; ++i) {
        kept_file *f = &t->files[i];
        f->wd = -1;
        if (f->notified) pv_close_file(t, f);
    }
    if (t->notify_fd >= 0) close(t->notify_fd);
    t->notify_fd = -1;
    t->watching = 0;
    t->dirs = 0;
}

static void watch_failed(pv_thread *t) {
    pv_forget_watch(t);
    t->watching = -1;
    t->retry_in = WATCH_RETRY_AFTER;
}

static int add_dir_watch(pv_thread *t, const char *dir, uint32_t events, size_t child_at,
                         size_t child_len) {
    if (t->dirs >= MAX_WATCHED_DIRS) return -1;
    const int wd = inotify_add_watch(t->notify_fd, dir, events | IN_ONLYDIR | IN_DONT_FOLLOW);
    if (wd < 0) return -1;
    /* The same folder twice (a bind mount looping back) would merge masks. */
    for (int d = 0; d < t->dirs; ++d) {
        if (t->dir_wd[d] == wd) return -1;
    }
    t->dir_wd[t->dirs] = wd;
    t->child_at[t->dirs] = (short)child_at;
    t->child_len[t->dirs] = (short)child_len;
    ++t->dirs;
    return 0;
}

/* Watches "/", each folder on the way and the data folder, top down: a folder
 * replaced while the one below it is being watched shows as an event of the
 * folder above, read at once after. IN_ONLYDIR with IN_DONT_FOLLOW refuses a
 * symbolic link at every step. 0, or -1 where notifications cannot keep the
 * promise (see the top of this file). */
static int start_watch(pv_thread *t) {
    const char *folder = t->folder;
    const size_t n = strlen(folder);
    if (n < 1 || folder[0] != '/' || folder[n - 1] != '/') return -1;
    struct statfs fs;
    if (statfs(folder, &fs) != 0 || remote_file_system((unsigned long)fs.f_type)) return -1;
    t->notify_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (t->notify_fd < 0) return -1;
    char dir[PV_FOLDER_STORAGE];
    size_t end = 1; /* dir is folder[0, end) */
    memcpy(dir, "/", 2);
    while (end < n) {
        const char *slash = strchr(folder + end, '/');
        const size_t next = (size_t)(slash - folder);
        const size_t len = next - end;
        if (len == 0 || (len == 1 && folder[end] == '.') ||
            (len == 2 && folder[end] == '.' && folder[end + 1] == '.'))
            return -1;
        if (add_dir_watch(t, dir, ABOVE_EVENTS, end, len) != 0) return -1;
        memcpy(dir, folder, next);
        dir[next] = '\0';
        end = next + 1;
    }
    if (add_dir_watch(t, dir, FOLDER_EVENTS, 0, 0) != 0) return -1;
    t->watching = 1;
    /* Files held while stat() checked them are opened again under the watch
     * (a symbolic link goes back to stat() then). */
    for (int i = 0; i < KEPT_FILES; ++i) {
        if (t->files[i].fd >= 0 && !t->files[i].notified) pv_close_file(t, &t->files[i]);
    }
    return 0;
}

static void drop_all_notified(pv_thread *t) {
    for (int i = 0; i < KEPT_FILES; ++i) {
        if (t->files[i].notified) pv_close_file(t, &t->files[i]);
    }
}

static void take_event(pv_thread *t, const struct inotify_event *e) {
    if (e->mask & IN_Q_OVERFLOW) {
        /* Events were lost: nothing kept can be trusted. */
        pv_forget_watch(t);
        return;
    }
    int d = 0;
    while (d < t->dirs && t->dir_wd[d] != e->wd) ++d;
    if (d < t->dirs) {
        if (e->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) {
            pv_forget_watch(t);
        } else if (e->len == 0 || e->name[0] == '\0') {
            /* The folder's own permissions: whether its files can be reached. */
            drop_all_notified(t);
        } else if (d == t->dirs - 1) {
            for (int i = 0; i < KEPT_FILES; ++i) {
                kept_file *f = &t->files[i];
                if (f->notified && strcmp(f->name, e->name) == 0) pv_close_file(t, f);
            }
        } else if (strlen(e->name) == (size_t)t->child_len[d] &&
                   memcmp(e->name, t->folder + t->child_at[d], (size_t)t->child_len[d]) == 0) {
            /* The path may name another folder now. */
            pv_forget_watch(t);
        }
        return;
    }
    /* A held file's own watch: a change through any of its names. */
    for (int i = 0; i < KEPT_FILES; ++i) {
        kept_file *f = &t->files[i];
        if (f->wd == e->wd) pv_close_file(t, f);
    }
}

/* Reads every queued event without waiting. */
static void drain(pv_thread *t) {
    /* Aligned for struct inotify_event, as inotify(7) does. */
    char buffer[4096] __attribute__((aligned(__alignof__(struct inotify_event))));
    while (t->watching == 1) {
        const ssize_t n = read(t->notify_fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        if (n <= 0) {
            watch_failed(t);
            return;
        }
        for (ssize_t at = 0; at < n && t->watching == 1;) {
            const struct inotify_event *e = (const struct inotify_event *)(buffer + at);
            take_event(t, e);
            at += (ssize_t)(sizeof *e + e->len);
        }
    }
}

/* Whether this request may trust the notifications: the queue read, the
 * watch (re)made where it had ended. */
static int watch_ready(pv_thread *t) {
    if (t->watching == -1) {
        if (t->retry_in > 0) {
            --t->retry_in;
            return 0;
        }
        t->watching = 0;
    }
    if (t->watching == 1) drain(t);
    for (int attempt = 0; attempt < 2 && t->watching == 0; ++attempt) {
        if (start_watch(t) != 0) break;
        drain(t);
    }
    if (t->watching == 1) return 1;
    watch_failed(t);
    return 0;
}

/* PV_CHECK_NOTIFY: while no event has come for the file, the kept record. */
int pv_read_notified(pv_thread *t, kept_file *f, const char *path, int32_t index,
                         int64_t offset, pv_outer_record *rec) {
    if (!watch_ready(t)) return pv_read_by_stat(t, f, path, index, offset, rec);
    if (f->fd >= 0 && !f->notified) return pv_read_by_stat(t, f, path, index, offset, rec);
    t->used = PV_CHECK_NOTIFY;
    if (f->fd < 0) {
        /* A symbolic link's target may be replaced where no watch sees it. */
        struct stat link;
        if (lstat(path, &link) != 0) return PV_OPEN_FAILED;
        if (S_ISLNK(link.st_mode)) return pv_read_by_stat(t, f, path, index, offset, rec);
        const int status = pv_hold_file(t, f, path);
        if (status != 0) return status;
        /* Watched by inode as well: a write through another name of the file
         * (a hard link elsewhere) says nothing to the folder's watch. A file
         * swapped in between the open and this watch is named by an event of
         * the folder, read at the next request. */
        f->wd = inotify_add_watch(t->notify_fd, path, FILE_EVENTS | IN_DONT_FOLLOW);
        f->notified = f->wd >= 0;
        if (!f->notified) return pv_read_by_stat(t, f, path, index, offset, rec);
    }
    kept_record *k = pv_kept_index(f, index);
    if (k != NULL) {
        k->used = ++t->clock;
        *rec = k->record;
        return 0;
    }
    char bytes[PV_RECORD_BYTES];
    const int status = pv_read_held(f->fd, offset, bytes);
    if (status != 0) return status;
    return pv_decode_kept(t, f, index, bytes, rec);
}

#else
/* ISO C wants something in every translation unit. */
typedef int pv_no_folder_watch;
#endif
