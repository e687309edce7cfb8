// Reading, writing and inspecting binary track files. Bytes are decoded explicitly as little
// endian, so the files mean the same on any host.
#include "sync/track_file.h"

#include <algorithm>
#include <cerrno>
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

// Makes room for `needed` keys. The capacity at most doubles and never passes `claimed`, and it is
// only asked for once the keys before have been read, so it stays within twice the keys present.
int reserveKeys(TrackKeyRead* result, int32_t* capacity, int32_t needed) {
    if (needed <= *capacity) return 0;
    int64_t grown = std::min<int64_t>(2 * static_cast<int64_t>(*capacity), result->claimedKeyCount);
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
    void* keys =
        std::realloc(result->keys, static_cast<size_t>(result->keyCount) * sizeof(TrackKey));
    if (keys) result->keys = static_cast<TrackKey*>(keys);
}

// Reads the records after the count. -1 only when memory runs out.
int readRecords(const SyncDevice* device, FILE* file, TrackKeyRead* result, int32_t* capacity) {
    unsigned char records[recordsPerRead * trackRecordBytes];
    while (result->keyCount < result->claimedKeyCount) {
        int32_t wanted = std::min(recordsPerRead, result->claimedKeyCount - result->keyCount);
        size_t wantedBytes = static_cast<size_t>(wanted) * trackRecordBytes;
        size_t bytes = std::min(device->readFile(records, 1, wantedBytes, file), wantedBytes);
        result->bytesRead += static_cast<int64_t>(bytes);
        int32_t complete = static_cast<int32_t>(bytes / trackRecordBytes);
        if (reserveKeys(result, capacity, result->keyCount + complete) != 0) return -1;
        for (int32_t i = 0; i < complete; ++i) {
            result->keys[result->keyCount++] = decodeKey(records + i * trackRecordBytes);
        }
        if (bytes < wantedBytes) break;  // the file ended early
    }
    return 0;
}

int writeAllKeys(FILE* file, const TrackKey* keys, int32_t keyCount) {
    unsigned char countBytes[trackCountBytes];
    encodeInt32(keyCount, countBytes);
    if (std::fwrite(countBytes, 1, sizeof countBytes, file) != sizeof countBytes) return -1;
    unsigned char record[trackRecordBytes];
    for (int32_t i = 0; i < keyCount; ++i) {
        encodeKey(keys[i], record);
        if (std::fwrite(record, 1, sizeof record, file) != sizeof record) return -1;
    }
    return 0;
}

// Counts the bytes left in the file.
int64_t countRemainingBytes(const SyncDevice* device, FILE* file) {
    unsigned char buffer[4096];
    int64_t total = 0;
    size_t bytes;
    while ((bytes = std::min(device->readFile(buffer, 1, sizeof buffer, file), sizeof buffer)) >
           0) {
        total += static_cast<int64_t>(bytes);
    }
    return total;
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
    }
}

}  // namespace

int readTrackKeys(const SyncDevice* device, FILE* file, TrackKeyRead* result) {
    *result = TrackKeyRead{};
    unsigned char countBytes[trackCountBytes];
    size_t got =
        std::min(device->readFile(countBytes, 1, sizeof countBytes, file), sizeof countBytes);
    result->countBytes = static_cast<int32_t>(got);
    result->bytesRead = static_cast<int64_t>(got);
    if (got < sizeof countBytes) return got == 0 ? 0 : -1;
    result->claimedKeyCount = decodeInt32(countBytes);
    if (result->claimedKeyCount < 0) return -1;
    int32_t capacity = 0;
    if (readRecords(device, file, result, &capacity) != 0) {
        std::free(result->keys);
        result->keys = nullptr;
        result->keyCount = 0;
        result->outOfMemory = true;
        return -1;
    }
    trimKeys(result, capacity);
    return result->keyCount == result->claimedKeyCount ? 0 : -1;
}

int writeTrackFile(const char* path, const TrackKey* keys, int32_t keyCount) {
    if (!path || keyCount < 0 || (keyCount > 0 && !keys)) {
        errno = EINVAL;
        return -1;
    }
    std::string temporaryName = std::string(path) + ".tmp";
    FILE* file = std::fopen(temporaryName.c_str(), "wb");
    if (!file) return -1;
    int status = writeAllKeys(file, keys, keyCount);
    if (std::fclose(file) != 0) status = -1;
    if (status == 0 && std::rename(temporaryName.c_str(), path) == 0) return 0;
    int savedErrno = errno;
    std::remove(temporaryName.c_str());
    errno = savedErrno;
    return -1;
}

int inspectTrackFile(const SyncDevice* device, const char* trackName, TrackFileReport* report) {
    *report = TrackFileReport{};
    report->firstUnorderedKey = report->firstUnknownKindKey = report->firstNonFiniteKey = -1;
    const char* fileName = device ? trackFileName(device->baseName, trackName) : nullptr;
    FILE* file = fileName ? device->openFile(fileName, "rb") : nullptr;
    if (!file) return -1;
    report->opened = true;
    TrackKeyRead read;
    readTrackKeys(device, file, &read);
    report->trailingBytes = countRemainingBytes(device, file);
    device->closeFile(file);
    report->fileBytes = read.bytesRead + report->trailingBytes;
    report->countBytes = read.countBytes;
    report->claimedKeyCount = read.claimedKeyCount;
    report->keyCount = read.keyCount;
    examineKeys(read.keys, read.keyCount, report);
    std::free(read.keys);
    return read.outOfMemory ? -1 : 0;
}

bool trackFileIsWellFormed(const TrackFileReport& report) {
    return report.opened && report.countBytes == trackCountBytes && report.claimedKeyCount >= 0 &&
           report.keyCount == report.claimedKeyCount && report.trailingBytes == 0 &&
           report.unorderedKeys == 0 && report.unknownKinds == 0 && report.nonFiniteValues == 0;
}

namespace {

std::string describeFirstAndMore(const std::string& first, int32_t total) {
    if (total <= 1) return first;
    return first + " (and " + std::to_string(total - 1) + " more)";
}

std::string describeUnorderedKeys(const TrackFileReport& report) {
    int32_t key = report.firstUnorderedKey;
    std::string first = "rows not increasing: key " + std::to_string(key) + " (row " +
                        std::to_string(report.unorderedRow) + ") is not after key " +
                        std::to_string(key - 1) + " (row " +
                        std::to_string(report.unorderedPreviousRow) + ")";
    return describeFirstAndMore(first, report.unorderedKeys);
}

}  // namespace

std::vector<std::string> describeTrackFileProblems(const TrackFileReport& report) {
    std::vector<std::string> problems;
    if (!report.opened) return {"missing"};
    if (report.fileBytes == 0) return {"empty (0 bytes)"};
    if (report.countBytes < trackCountBytes) {
        return {"truncated: " + std::to_string(report.fileBytes) +
                " bytes, the key count is incomplete"};
    }
    if (report.claimedKeyCount < 0) {
        problems.push_back("negative key count " + std::to_string(report.claimedKeyCount));
    } else if (report.keyCount < report.claimedKeyCount) {
        problems.push_back("truncated: the count says " + std::to_string(report.claimedKeyCount) +
                           " keys, " + std::to_string(report.keyCount) + " complete keys survive");
    } else if (report.trailingBytes > 0) {
        problems.push_back("trailing bytes: " + std::to_string(report.trailingBytes) +
                           " bytes after the last key");
    }
    if (report.unorderedKeys > 0) problems.push_back(describeUnorderedKeys(report));
    if (report.unknownKinds > 0) {
        problems.push_back(
            describeFirstAndMore("unknown kind " + std::to_string(report.unknownKind) + " at key " +
                                     std::to_string(report.firstUnknownKindKey),
                                 report.unknownKinds));
    }
    if (report.nonFiniteValues > 0) {
        problems.push_back(describeFirstAndMore(
            "non-finite value at key " + std::to_string(report.firstNonFiniteKey),
            report.nonFiniteValues));
    }
    return problems;
}
