// Shared by the fuzz targets that hand their input to code reading a file by name: the bytes go
// into one temporary file per process, rewritten for every input. The file is removed from its
// directory at once and reached through /proc/self/fd, so nothing is left behind however the
// run ends.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A failed check: libFuzzer reports the abort as a finding.
inline void require(bool condition) {
    if (!condition) std::abort();
}

// Writes the input to the temporary file and returns its path.
inline const char* writeFuzzInput(const uint8_t* data, size_t size) {
    static int descriptor = -1;
    static char path[64] = "";
    if (descriptor < 0) {
        char pattern[] = "/tmp/fuzz-input.XXXXXX";
        descriptor = mkstemp(pattern);
        require(descriptor >= 0);
        unlink(pattern);
        std::snprintf(path, sizeof path, "/proc/self/fd/%d", descriptor);
    }
    require(ftruncate(descriptor, 0) == 0);
    size_t written = 0;
    while (written < size) {
        ssize_t done = pwrite(descriptor, data + written, size - written, off_t(written));
        require(done > 0);
        written += size_t(done);
    }
    return path;
}
