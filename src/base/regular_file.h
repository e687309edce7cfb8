// Opening files for reading so that nothing can block or read without end: the open never waits
// (O_NONBLOCK, so a FIFO without a writer cannot hold it), the descriptor stays out of child
// programs (O_CLOEXEC), and whatever is not a regular file (a directory, a FIFO, a device such
// as /dev/zero behind a link) is refused after fstat, before a byte of it is read.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// What a path names, links followed.
enum class FileKind : int32_t { Missing, Regular, Directory, Fifo, Device, Socket, Unknown };

// Opens `path` read-only: the descriptor, with `*size` set to the file's size, or -1 with errno
// set (as open sets it, EISDIR for a directory, EINVAL for anything else that is no regular file).
int openRegularFile(const char* path, int64_t* size);

// openRegularFile as a buffered stream, with fopen's signature so that it can stand in for it.
// Only the reading modes "r" and "rb" are accepted.
FILE* openRegularStream(const char* path, const char* mode);

// Reads a whole regular file of at most `maxBytes` into `text`. 0 on success; -1 with errno set
// otherwise (EFBIG when the file is larger, as openRegularFile for what is no regular file).
int readRegularFile(const char* path, int64_t maxBytes, std::string* text);

// What `path` names, found by stat without opening it: Missing when nothing is there, Unknown
// when it cannot be examined.
FileKind fileKindAt(const char* path);

// "a directory, not a regular file" and the like for the kinds a reader refuses; null for
// Missing, Regular and Unknown.
const char* irregularFileText(FileKind kind);
