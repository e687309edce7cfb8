// Non-blocking, regular-file-only opening and bounded whole-file reading.
#include "base/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

FileKind kindOfMode(mode_t mode) {
    if (S_ISREG(mode)) return FileKind::Regular;
    if (S_ISDIR(mode)) return FileKind::Directory;
    if (S_ISFIFO(mode)) return FileKind::Fifo;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return FileKind::Device;
    if (S_ISSOCK(mode)) return FileKind::Socket;
    return FileKind::Unknown;
}

// Closes `fd` and returns -1 with `error` in errno.
int closeWithError(int fd, int error) {
    close(fd);
    errno = error;
    return -1;
}

// Appends at most `maxBytes` more bytes from `fd` to `text`; -1 with EFBIG when there are more.
int appendAtMost(int fd, int64_t maxBytes, std::string* text) {
    char buffer[65536];
    int64_t total = 0;
    for (;;) {
        ssize_t bytes = read(fd, buffer, sizeof buffer);
        if (bytes < 0 && errno == EINTR) continue;
        if (bytes < 0) return -1;
        if (bytes == 0) return 0;
        total += bytes;
        if (total > maxBytes) {
            errno = EFBIG;
            return -1;
        }
        text->append(buffer, static_cast<size_t>(bytes));
    }
}

}  // namespace

int openRegularFile(const char* path, int64_t* size) {
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat info;
    if (fstat(fd, &info) != 0) return closeWithError(fd, errno);
    FileKind kind = kindOfMode(info.st_mode);
    if (kind != FileKind::Regular) {
        return closeWithError(fd, kind == FileKind::Directory ? EISDIR : EINVAL);
    }
    // Reads of a regular file wait for the disk as they always do; only the open had to not.
    int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return closeWithError(fd, errno);
    *size = static_cast<int64_t>(info.st_size);
    return fd;
}

FILE* openRegularStream(const char* path, const char* mode) {
    if (!path || !mode || (std::strcmp(mode, "r") != 0 && std::strcmp(mode, "rb") != 0)) {
        errno = EINVAL;
        return nullptr;
    }
    int64_t size = 0;
    int fd = openRegularFile(path, &size);
    if (fd < 0) return nullptr;
    FILE* file = fdopen(fd, mode);
    if (!file) closeWithError(fd, errno);
    return file;
}

int readRegularFile(const char* path, int64_t maxBytes, std::string* text) {
    int64_t size = 0;
    int fd = openRegularFile(path, &size);
    if (fd < 0) return -1;
    if (size > maxBytes) return closeWithError(fd, EFBIG);
    text->clear();
    if (appendAtMost(fd, maxBytes, text) != 0) return closeWithError(fd, errno);
    close(fd);
    return 0;
}

FileKind fileKindAt(const char* path) {
    struct stat info;
    if (stat(path, &info) == 0) return kindOfMode(info.st_mode);
    return errno == ENOENT || errno == ENOTDIR ? FileKind::Missing : FileKind::Unknown;
}

const char* irregularFileText(FileKind kind) {
    switch (kind) {
    case FileKind::Directory: return "a directory, not a regular file";
    case FileKind::Fifo: return "a FIFO, not a regular file";
    case FileKind::Device: return "a device, not a regular file";
    case FileKind::Socket: return "a socket, not a regular file";
    default: return nullptr;
    }
}
