/* A write-fault shim for the tests, loaded with LD_PRELOAD into the program:
 * write(2) and writev(2) on the file whose path ends with ZUVAN_FAULT_FILE
 * succeed for the first ZUVAN_FAULT_AFTER bytes written to it (counted over
 * the whole process), then fail with ENOSPC, as a disk that fills up. A write
 * that crosses the limit is cut short at it. Other files are left alone. The
 * file is recognised by its descriptor's path (/proc/self/fd/N), so buffered
 * streams are caught whenever they flush, close included.
 *
 * The same shim kills the program: with ZUVAN_KILL_FILE and ZUVAN_KILL_AT = n,
 * the n-th write(2) or writev(2) call on the file whose path ends with
 * ZUVAN_KILL_FILE (counted from 1 over the whole process) raises SIGKILL
 * before it writes anything, as a kill that lands while a run writes. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

typedef ssize_t (*WriteFn)(int, const void*, size_t);
typedef ssize_t (*WritevFn)(int, const struct iovec*, int);

static unsigned long long g_written = 0;

static unsigned long long g_calls = 0;

/* True when fd is open on a file whose path ends with suffix. */
static int Names(int fd, const char* suffix) {
    if (suffix == NULL || *suffix == '\0') return 0;
    char link[64], path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    if (n <= 0) return 0;
    path[n] = '\0';
    const size_t len = strlen(suffix);
    return (size_t)n >= len && strcmp(path + n - len, suffix) == 0;
}

/* Kills the process at the ZUVAN_KILL_AT-th write call on the file to kill. */
static void KillAt(int fd) {
    const char* at = getenv("ZUVAN_KILL_AT");
    if (at == NULL || !Names(fd, getenv("ZUVAN_KILL_FILE"))) return;
    if (++g_calls == strtoull(at, NULL, 10)) kill(getpid(), SIGKILL);
}

/* True when fd is the faulty file; *allowed is then what may still be written. */
static int Faulty(int fd, size_t* allowed) {
    const char* after = getenv("ZUVAN_FAULT_AFTER");
    if (after == NULL || !Names(fd, getenv("ZUVAN_FAULT_FILE"))) return 0;
    const unsigned long long limit = strtoull(after, NULL, 10);
    *allowed = g_written >= limit ? 0 : (size_t)(limit - g_written);
    return 1;
}

ssize_t write(int fd, const void* buf, size_t count) {
    static WriteFn real = NULL;
    if (real == NULL) real = (WriteFn)dlsym(RTLD_NEXT, "write");
    size_t allowed = 0;
    if (count > 0) KillAt(fd);
    if (count == 0 || !Faulty(fd, &allowed)) return real(fd, buf, count);
    if (allowed == 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t done = real(fd, buf, count < allowed ? count : allowed);
    if (done > 0) g_written += (unsigned long long)done;
    return done;
}

ssize_t writev(int fd, const struct iovec* iov, int iovcnt) {
    static WritevFn real = NULL;
    if (real == NULL) real = (WritevFn)dlsym(RTLD_NEXT, "writev");
    size_t allowed = 0;
    if (iovcnt > 0) KillAt(fd);
    if (iovcnt <= 0 || !Faulty(fd, &allowed)) return real(fd, iov, iovcnt);
    size_t total = 0;
    for (int i = 0; i < iovcnt; ++i) total += iov[i].iov_len;
    if (total == 0) return real(fd, iov, iovcnt);
    if (allowed == 0) {
        errno = ENOSPC;
        return -1;
    }
    /* Cut the vector at the limit. */
    struct iovec cut[64];
    int n = 0;
    size_t left = allowed;
    for (int i = 0; i < iovcnt && n < 64 && left > 0; ++i) {
        cut[n] = iov[i];
        if (cut[n].iov_len > left) cut[n].iov_len = left;
        left -= cut[n].iov_len;
        ++n;
    }
    const ssize_t done = real(fd, cut, n);
    if (done > 0) g_written += (unsigned long long)done;
    return done;
}
