// Reading, writing and inspecting binary track files. Bytes are decoded explicitly as little
// endian, so the files mean the same on any host.
#include "sync/track_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Records decoded per read; the buffer sits on the stack.
constexpr int32_t recordsPerRead = 512;

int32_t decodeInt32(const unsigned char* bytes) {
    uint32_t bits = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                    static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    int32_t value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void encodeInt32(int32_t value, unsigned char* bytes) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
}

TrackKey decodeKey(const unsigned char* record) {
    TrackKey key;
    key.row = decodeInt32(record);
    int32_t valueBits = decodeInt32(record + 4);
    std::memcpy(&key.value, &valueBits, sizeof key.value);
    key.kind = static_cast<signed char>(record[8]);  // widened with its sign
    return key;
}

void encodeKey(const TrackKey& key, unsigned char* record) {
    encodeInt32(key.row, record);
    int32_t valueBits;
    std::memcpy(&valueBits, &key.value, sizeof valueBits);
    encodeInt32(valueBits, record + 4);
    record[8] = static_cast<unsigned char>(static_cast<signed char>(key.kind));
}

// Makes room for `needed` keys. The capacity at most doubles and never passes `limit`, and it is
// only asked for once the keys before have been read, so it stays within twice the keys present.
int reserveKeys(TrackKeyRead* result, int32_t* capacity, int32_t needed, int32_t limit) {
    if (needed <= *capacity) return 0;
    int64_t grown = std::min<int64_t>(2 * static_cast<int64_t>(*capacity), limit);
    int64_t newCapacity = std::max<int64_t>(grown, needed);
    void* keys = std::realloc(result->keys, static_cast<size_t>(newCapacity) * sizeof(TrackKey));
    if (!keys) return -1;
    result->keys = static_cast<TrackKey*>(keys);
    *capacity = static_cast<int32_t>(newCapacity);
    return 0;
}

// Gives back the capacity beyond the keys read.
void trimKeys(TrackKeyRead* result, int32_t capacity) {
    if (result->keyCount == capacity) return;
    if (result->keyCount == 0) {
        std::free(result->keys);
        result->keys = nullptr;
        return;
    }
    void* keys = std::realloc(result->keys, static_cast<size_t>(result->keyCount) * sizeof(TrackKey));
    if (keys) result->keys = static_cast<TrackKey*>(keys);
}

// Keys to make room for before reading: the records that the regular file behind `file` holds
// after `position`, up to `limit`; 0 when the stream has no such file (one in memory, say).
int32_t keysTheFileCanHold(FILE* file, int64_t position, int32_t limit) {
    int fd = fileno(file);
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    int64_t records = std::max<int64_t>(0, info.st_size - position) / trackRecordBytes;
    return static_cast<int32_t>(std::min<int64_t>(records, limit));
}

// Reads up to `limit` records after the count. -1 only when memory runs out.
int readRecords(const SyncDevice* device, FILE* file, TrackKeyRead* result, int32_t* capacity, int32_t limit) {
    unsigned char records[recordsPerRead * trackRecordBytes];
    while (result->keyCount < limit) {
        int32_t wanted = std::min(recordsPerRead, limit - result->keyCount);
        size_t wantedBytes = static_cast<size_t>(wanted) * trackRecordBytes;
        size_t bytes = std::min(device->readFile(records, 1, wantedBytes, file), wantedBytes);
        result->bytesRead += static_cast<int64_t>(bytes);
        int32_t complete = static_cast<int32_t>(bytes / trackRecordBytes);
        if (reserveKeys(result, capacity, result->keyCount + complete, limit) != 0) return -1;
        for (int32_t i = 0; i < complete; ++i) {
            result->keys[result->keyCount++] = decodeKey(records + i * trackRecordBytes);
        }
        if (bytes < wantedBytes) break;  // the file ended early
    }
    return 0;
}

std::vector<unsigned char> encodeTrackFile(const TrackKey* keys, int32_t keyCount) {
    std::vector<unsigned char> bytes(trackCountBytes + static_cast<size_t>(keyCount) * trackRecordBytes);
    encodeInt32(keyCount, bytes.data());
    for (int32_t i = 0; i < keyCount; ++i) {
        size_t offset = trackCountBytes + static_cast<size_t>(i) * trackRecordBytes;
        encodeKey(keys[i], bytes.data() + offset);
    }
    return bytes;
}

int writeAll(int fd, const unsigned char* bytes, size_t size) {
    while (size > 0) {
        ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return -1;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return 0;
}

// ".tmp-" and 8 characters no one can guess; should the kernel have no randomness to give, a
// guessable name does no harm beyond a retry, since the file is created exclusively.
std::string temporarySuffix() {
    static uint32_t fallback = 0;
    uint32_t bits = 0;
    if (getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) {
        bits = static_cast<uint32_t>(getpid()) * 2654435761u + ++fallback;
    }
    char text[temporaryNameSuffixBytes + 1];
    std::snprintf(text, sizeof text, ".tmp-%08" PRIx32, bits);
    return text;
}

// Creates a new file beside `path` under a fresh temporary name: O_EXCL and O_NOFOLLOW make sure
// that it is new and no link planted there is followed.
int createTemporaryFile(const char* path, std::string* temporaryPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temporaryPath = std::string(path) + temporarySuffix();
        int fd = open(temporaryPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Counts the bytes left in the file, reading no more than `limit` and one byte beyond it.
int64_t countRemainingBytes(const SyncDevice* device, FILE* file, int64_t limit, bool* more) {
    unsigned char buffer[4096];
    int64_t total = 0;
    size_t bytes;
    do {
        size_t wanted = static_cast<size_t>(std::min<int64_t>(sizeof buffer, limit + 1 - total));
        bytes = std::min(device->readFile(buffer, 1, wanted, file), wanted);
        total += static_cast<int64_t>(bytes);
    } while (bytes > 0 && total <= limit);
    *more = total > limit;
    return std::min(total, limit);
}

void examineKeys(const TrackKey* keys, int32_t keyCount, TrackFileReport* report) {
    for (int32_t i = 0; i < keyCount; ++i) {
        if (i > 0 && keys[i].row <= keys[i - 1].row && report->unorderedKeys++ == 0) {
            report->firstUnorderedKey = i;
            report->unorderedRow = keys[i].row;
            report->unorderedPreviousRow = keys[i - 1].row;
        }
        uint32_t kind = static_cast<uint32_t>(keys[i].kind);
        if (kind > static_cast<uint32_t>(Interpolation::Ramp) && report->unknownKinds++ == 0) {
            report->firstUnknownKindKey = i;
            report->unknownKind = keys[i].kind;
        }
        if (!std::isfinite(keys[i].value) && report->nonFiniteValues++ == 0) {
            report->firstNonFiniteKey = i;
        }
        if (i + 1 < keyCount && segmentOverflows(keys[i], keys[i + 1]) && report->overflowingSegments++ == 0) {
            report->firstOverflowingKey = i;
        }
    }
}

}  // namespace

int readTrackKeys(const SyncDevice* device, FILE* file, TrackKeyRead* result) {
    *result = TrackKeyRead{};
    unsigned char countBytes[trackCountBytes];
    size_t got = std::min(device->readFile(countBytes, 1, sizeof countBytes, file), sizeof countBytes);
    result->countBytes = static_cast<int32_t>(got);
    result->bytesRead = static_cast<int64_t>(got);
    if (got < sizeof countBytes) return got == 0 ? 0 : -1;
    result->claimedKeyCount = decodeInt32(countBytes);
    if (result->claimedKeyCount < 0) return -1;
    int32_t limit = std::min(result->claimedKeyCount, maxTrackKeys);
    int32_t expected = keysTheFileCanHold(file, result->bytesRead, limit);
    int32_t capacity = 0;
    if (reserveKeys(result, &capacity, expected, limit) != 0 ||
        readRecords(device, file, result, &capacity, limit) != 0) {
        std::free(result->keys);
        result->keys = nullptr;
        result->keyCount = 0;
        result->outOfMemory = true;
        return -1;
    }
    trimKeys(result, capacity);
    return result->keyCount == result->claimedKeyCount ? 0 : -1;
}

int writeTemporaryTrackFile(const char* path, const TrackKey* keys, int32_t keyCount, std::string* temporaryPath) {
    if (!path || keyCount < 0 || (keyCount > 0 && !keys)) {
        errno = EINVAL;
        return -1;
    }
    if (keyCount > maxTrackKeys) {
        errno = EFBIG;
        return -1;
    }
    int fd = createTemporaryFile(path, temporaryPath);
    if (fd < 0) return -1;
    std::vector<unsigned char> bytes = encodeTrackFile(keys, keyCount);
    int status = writeAll(fd, bytes.data(), bytes.size()) == 0 && fsync(fd) == 0 ? 0 : -1;
    int savedErrno = errno;
    if (close(fd) != 0 && status == 0) {
        status = -1;
        savedErrno = errno;
    }
    if (status == 0) return 0;
    unlink(temporaryPath->c_str());
    errno = savedErrno;
    return -1;
}

int writeTrackFile(const char* path, const TrackKey* keys, int32_t keyCount) {
    std::string temporaryPath;
    if (writeTemporaryTrackFile(path, keys, keyCount, &temporaryPath) != 0) return -1;
    if (std::rename(temporaryPath.c_str(), path) == 0) return 0;
    int savedErrno = errno;
    unlink(temporaryPath.c_str());
    errno = savedErrno;
    return -1;
}

bool segmentOverflows(const TrackKey& from, const TrackKey& to) {
    uint32_t kind = static_cast<uint32_t>(from.kind);
    bool interpolates =
        kind >= static_cast<uint32_t>(Interpolation::Linear) && kind <= static_cast<uint32_t>(Interpolation::Ramp);
    return interpolates && std::isfinite(from.value) && std::isfinite(to.value) &&
           !std::isfinite(to.value - from.value);
}

int inspectTrackFile(const SyncDevice* device, const char* trackName, TrackFileReport* report) {
    *report = TrackFileReport{};
    report->firstUnorderedKey = report->firstUnknownKindKey = report->firstNonFiniteKey = -1;
    report->firstOverflowingKey = -1;
    const char* fileName = device ? trackFileName(device->baseName, trackName) : nullptr;
    FILE* file = fileName ? device->openFile(fileName, "rb") : nullptr;
    if (!file) {
        report->openError = errno;
        if (fileName) report->fileKind = fileKindAt(fileName);
        return -1;
    }
    report->opened = true;
    report->fileKind = FileKind::Regular;
    TrackKeyRead read;
    readTrackKeys(device, file, &read);
    report->trailingBytes =
        countRemainingBytes(device, file, maxTrackFileBytes - read.bytesRead, &report->moreTrailingBytes);
    device->closeFile(file);
    report->fileBytes = read.bytesRead + report->trailingBytes;
    report->countBytes = read.countBytes;
    report->claimedKeyCount = read.claimedKeyCount;
    report->keyCount = read.keyCount;
    report->outOfMemory = read.outOfMemory;
    examineKeys(read.keys, read.keyCount, report);
    std::free(read.keys);
    return read.outOfMemory ? -1 : 0;
}

bool trackFileIsWellFormed(const TrackFileReport& report) {
    return report.opened && report.countBytes == trackCountBytes && report.claimedKeyCount >= 0 &&
           report.keyCount == report.claimedKeyCount && report.trailingBytes == 0 && report.unorderedKeys == 0 &&
           report.unknownKinds == 0 && report.nonFiniteValues == 0 && report.overflowingSegments == 0;
}

namespace {

std::string describeFirstAndMore(const std::string& first, int32_t total) {
    if (total <= 1) return first;
    return first + " (and " + std::to_string(total - 1) + " more)";
}

std::string describeUnorderedKeys(const TrackFileReport& report) {
    int32_t key = report.firstUnorderedKey;
    std::string first = "rows not increasing: key " + std::to_string(key) + " (row " +
                        std::to_string(report.unorderedRow) + ") is not after key " + std::to_string(key - 1) +
                        " (row " + std::to_string(report.unorderedPreviousRow) + ")";
    return describeFirstAndMore(first, report.unorderedKeys);
}

std::string describeUnopenedFile(const TrackFileReport& report) {
    if (report.fileKind == FileKind::Missing) return "missing";
    const char* irregular = irregularFileText(report.fileKind);
    if (irregular) return irregular;
    return std::string("cannot be opened: ") + std::strerror(report.openError);
}

// What is wrong with the count and the bytes it covers: a negative count, one over the limit,
// memory that ran out, too few records or bytes after them.
std::vector<std::string> describeKeyCount(const TrackFileReport& report) {
    int32_t claimed = report.claimedKeyCount;
    if (claimed < 0) return {"negative key count " + std::to_string(claimed)};
    std::vector<std::string> problems;
    if (claimed > maxTrackKeys) {
        problems.push_back("key count " + std::to_string(claimed) + " is over the limit of " +
                           std::to_string(maxTrackKeys) + " keys");
    }
    if (report.outOfMemory) problems.push_back("out of memory while reading the keys");
    if (!problems.empty()) return problems;
    if (report.keyCount < claimed) {
        return {"truncated: the count says " + std::to_string(claimed) + " keys, " + std::to_string(report.keyCount) +
                " complete keys survive"};
    }
    if (report.trailingBytes > 0) {
        return {"trailing bytes: " + std::string(report.moreTrailingBytes ? "more than " : "") +
                std::to_string(report.trailingBytes) + " bytes after the last key"};
    }
    return {};
}

}  // namespace

std::vector<std::string> describeTrackFileProblems(const TrackFileReport& report) {
    if (!report.opened) return {describeUnopenedFile(report)};
    if (report.fileBytes == 0) return {"empty (0 bytes)"};
    if (report.countBytes < trackCountBytes) {
        return {"truncated: " + std::to_string(report.fileBytes) + " bytes, the key count is incomplete"};
    }
    std::vector<std::string> problems = describeKeyCount(report);
    if (report.unorderedKeys > 0) problems.push_back(describeUnorderedKeys(report));
    if (report.unknownKinds > 0) {
        problems.push_back(describeFirstAndMore("unknown kind " + std::to_string(report.unknownKind) + " at key " +
                                                    std::to_string(report.firstUnknownKindKey),
                                                report.unknownKinds));
    }
    if (report.nonFiniteValues > 0) {
        problems.push_back(describeFirstAndMore("non-finite value at key " + std::to_string(report.firstNonFiniteKey),
                                                report.nonFiniteValues));
    }
    if (report.overflowingSegments > 0) {
        int32_t key = report.firstOverflowingKey;
        problems.push_back(describeFirstAndMore("value overflow: the values of key " + std::to_string(key) +
                                                    " and key " + std::to_string(key + 1) +
                                                    " differ by more than a 32-bit float holds",
                                                report.overflowingSegments));
    }
    return problems;
}
