// The binary track file: a little-endian signed 32-bit key count, then one packed 9-byte record
// per key (row: int32, value: IEEE single, kind: int8). Reading for the loader and the checker,
// writing for the track tool.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "sync/sync.h"

constexpr int trackCountBytes = 4;
constexpr int trackRecordBytes = 9;

// What one pass over a track file gave.
struct TrackKeyRead {
    TrackKey* keys;           // malloc'd, exactly keyCount long; null when keyCount is 0
    int32_t keyCount;         // complete keys read, never more than claimedKeyCount
    int32_t countBytes;       // bytes of the key count that were present, 0 to 4
    int32_t claimedKeyCount;  // the count the file states; 0 when it is incomplete
    int64_t bytesRead;        // bytes consumed: the count plus every record byte read
    bool outOfMemory;
};

// Reads the count and up to that many complete records through the device's readFile. The key
// array grows with the records actually present, so a count the data does not back costs no
// memory. 0 when the file held all it claims (or was empty), -1 otherwise; a result's keys are
// valid either way and belong to the caller.
int readTrackKeys(const SyncDevice* device, FILE* file, TrackKeyRead* result);

// Writes a well-formed track file holding `keys`, through a temporary file renamed into place.
// 0 on success, -1 on failure (errno tells why), in which case `path` is left as it was.
int writeTrackFile(const char* path, const TrackKey* keys, int32_t keyCount);

// Everything `demo-tracks check` reports about one track file.
struct TrackFileReport {
    bool opened;  // false: the file is missing or cannot be read
    int64_t fileBytes;
    int32_t countBytes;
    int32_t claimedKeyCount;
    int32_t keyCount;           // complete keys, as the demo loads them
    int64_t trailingBytes;      // bytes after the last record the count claims
    int32_t unorderedKeys;      // keys whose row is not above the previous key's row
    int32_t firstUnorderedKey;  // -1 when none; its row and the previous row follow
    int32_t unorderedRow;
    int32_t unorderedPreviousRow;
    int32_t unknownKinds;  // keys whose kind is not one of the four interpolations
    int32_t firstUnknownKindKey;
    int32_t unknownKind;
    int32_t nonFiniteValues;  // keys whose value is infinite or NaN
    int32_t firstNonFiniteKey;
};

// Reads the file of track `trackName` through the device's file operations and the same reader
// as the demo, and fills `report`. 0 when the file could be read, -1 when it is missing, its name
// is too long, or memory ran out.
int inspectTrackFile(const SyncDevice* device, const char* trackName, TrackFileReport* report);

// True when the report shows a file of exactly 4 + 9n bytes, a non-negative count, rows that
// rise strictly, known kinds and finite values.
bool trackFileIsWellFormed(const TrackFileReport& report);

// One line per problem in the report, as `demo-tracks check` prints them after the file name
// ("missing", "truncated: ...", "rows not increasing: ..."); none for a well-formed file.
std::vector<std::string> describeTrackFileProblems(const TrackFileReport& report);
