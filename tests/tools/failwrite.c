/* A preloadable library that makes one write to a regular file fail or
 * stall, so that tests can check how a program copes with a full or failing
 * disk, or with being stopped in the middle of writing.
 *   FAILWRITE_AT     the number (from 1) of the write to fail or stall
 *   FAILWRITE_STALL  when set, that write waits for a signal forever instead
 *                    of failing
 *   FAILWRITE_MARK   a file created when that write is reached, so that a
 *                    test knows whether (and when) the run got there
 * The failed call returns -1 with errno ENOSPC. Writes to pipes and
 * terminals are neither counted nor failed. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

static long writes_seen;

/* Whether this call is the one to fail. */
static int should_fail(int fd) {
    struct stat info;
    const char* at = getenv("FAILWRITE_AT");
    if (at == NULL || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    if (++writes_seen != atol(at)) return 0;
    const char* mark = getenv("FAILWRITE_MARK");
    if (mark != NULL) close(open(mark, O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    while (getenv("FAILWRITE_STALL") != NULL) pause();
    errno = ENOSPC;
    return 1;
}

#define NEXT(name) ((name##_fn)dlsym(RTLD_NEXT, #name))

typedef ssize_t (*write_fn)(int, const void*, size_t);
typedef ssize_t (*pwrite_fn)(int, const void*, size_t, off_t);
typedef ssize_t (*pwrite64_fn)(int, const void*, size_t, off64_t);
typedef ssize_t (*writev_fn)(int, const struct iovec*, int);
typedef ssize_t (*pwritev_fn)(int, const struct iovec*, int, off_t);

ssize_t write(int fd, const void* data, size_t size) {
    return should_fail(fd) ? -1 : NEXT(write)(fd, data, size);
}

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
    return should_fail(fd) ? -1 : NEXT(pwrite)(fd, data, size, offset);
}

ssize_t pwrite64(int fd, const void* data, size_t size, off64_t offset) {
    return should_fail(fd) ? -1 : NEXT(pwrite64)(fd, data, size, offset);
}

ssize_t writev(int fd, const struct iovec* parts, int count) {
    return should_fail(fd) ? -1 : NEXT(writev)(fd, parts, count);
}

ssize_t pwritev(int fd, const struct iovec* parts, int count, off_t offset) {
    return should_fail(fd) ? -1 : NEXT(pwritev)(fd, parts, count, offset);
}
