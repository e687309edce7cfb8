// The binary track file: a little-endian signed 32-bit key count, then one packed 9-byte record
// per key (row: int32, value: IEEE single, kind: int8). Reading for the loader and the checker,
// writing for the track tool.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/regular_file.h"
#include "sync/sync.h"

constexpr int trackCountBytes = 4;
constexpr int trackRecordBytes = 9;
// Most keys a track may have: far beyond any show (a key on every row of an hour is 86 400) and
// far within any machine (12 MB in memory). Readers never take more, writers never write more.
constexpr int32_t maxTrackKeys = 1000000;
constexpr int64_t maxTrackFileBytes = trackCountBytes + static_cast<int64_t>(maxTrackKeys) * trackRecordBytes;
// A temporary track file is named after its track file plus ".tmp-" and 8 random characters.
constexpr int temporaryNameSuffixBytes = 13;

// What one pass over a track file gave.
struct TrackKeyRead {
    TrackKey* keys;           // malloc'd, exactly keyCount long; null when keyCount is 0
    int32_t keyCount;         // complete keys read, at most claimedKeyCount and maxTrackKeys
    int32_t countBytes;       // bytes of the key count that were present, 0 to 4
    int32_t claimedKeyCount;  // the count the file states; 0 when it is incomplete
    int64_t bytesRead;        // bytes consumed: the count plus every record byte read
    bool outOfMemory;
};

// Reads the count and up to that many complete records, never more than maxTrackKeys, through
// the device's readFile. The key array is sized by the records the file's size leaves room for
// (where the stream has a file behind it) and otherwise grows with the records actually present,
// so a count the data does not back costs no memory. 0 when the file held all it claims (or was
// empty), -1 otherwise; a result's keys are valid either way and belong to the caller.
int readTrackKeys(const SyncDevice* device, FILE* file, TrackKeyRead* result);

// Writes a well-formed track file holding `keys` under a new temporary name beside `path`: the
// file is created exclusively and never through a link, and every write, the fsync and the close
// are checked. 0 with the name in `temporaryPath`; -1 with errno set and nothing left behind.
int writeTemporaryTrackFile(const char* path, const TrackKey* keys, int32_t keyCount, std::string* temporaryPath);

// Writes a well-formed track file holding `keys`, through a temporary file renamed into place.
// 0 on success, -1 on failure (errno tells why), in which case `path` is left as it was.
int writeTrackFile(const char* path, const TrackKey* keys, int32_t keyCount);

// True when the segment from `from` to `to` interpolates between two finite values whose
// difference no float holds: evaluated in single precision it would run off to infinity.
bool segmentOverflows(const TrackKey& from, const TrackKey& to);

// Everything `demo-tracks check` reports about one track file.
struct TrackFileReport {
    bool opened;        // false: the file is missing, refused or cannot be read
    FileKind fileKind;  // when not opened: what the name stands for
    int openError;      // when not opened: errno of the failed open
    int64_t fileBytes;  // the file's size, counted up to maxTrackFileBytes
    int32_t countBytes;
    int32_t claimedKeyCount;
    int32_t keyCount;  // complete keys, as the demo loads them
    bool outOfMemory;
    int64_t trailingBytes;      // bytes after the last record the count claims
    bool moreTrailingBytes;     // counting stopped at the limit, and more bytes follow
    int32_t unorderedKeys;      // keys whose row is not above the previous key's row
    int32_t firstUnorderedKey;  // -1 when none; its row and the previous row follow
    int32_t unorderedRow;
    int32_t unorderedPreviousRow;
    int32_t unknownKinds;  // keys whose kind is not one of the four interpolations
    int32_t firstUnknownKindKey;
    int32_t unknownKind;
    int32_t nonFiniteValues;  // keys whose value is infinite or NaN
    int32_t firstNonFiniteKey;
    int32_t overflowingSegments;  // segments for which segmentOverflows holds
    int32_t firstOverflowingKey;  // the key that starts the first one
};

// Reads the file of track `trackName` through the device's file operations and the same reader
// as the demo, and fills `report`; no more than maxTrackFileBytes and one byte are read. 0 when
// the file could be read, -1 when it is missing or refused, its name is too long, or memory ran
// out.
int inspectTrackFile(const SyncDevice* device, const char* trackName, TrackFileReport* report);

// True when the report shows a file of exactly 4 + 9n bytes, a count from 0 to maxTrackKeys,
// rows that rise strictly, known kinds, finite values and no segment that overflows.
bool trackFileIsWellFormed(const TrackFileReport& report);

// One line per problem in the report, as `demo-tracks check` prints them after the file name
// ("missing", "a FIFO, not a regular file", "truncated: ...", "rows not increasing: ...");
// none for a well-formed file.
std::vector<std::string> describeTrackFileProblems(const TrackFileReport& report);
