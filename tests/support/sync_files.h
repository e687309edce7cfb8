// Helpers for the sync track tests: a scratch working directory (track files are read from the
// working directory), track file bytes written independently of the library's writer, and keys
// compared bit for bit.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "sync/sync.h"

// Makes a fresh temporary directory the working directory; the destructor goes back to the
// previous one and removes the directory with everything in it.
struct ScratchDirectory {
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    std::string path;
    std::string previous;
};

// The bytes of a track file: `count` as the key count, then one packed little-endian record per
// key (the kind cut to its low byte).
std::string trackFileBytes(int32_t count, const std::vector<TrackKey>& keys);
std::string trackFileBytes(const std::vector<TrackKey>& keys);

void writeFileBytes(const std::string& path, const std::string& bytes);
std::string readFileBytes(const std::string& path);

uint32_t floatBits(float value);
float floatFromBits(uint32_t bits);

// Keys match when row, kind and the bits of the value do (so NaNs and -0 compare exactly);
// GoogleTest prints them as {row, value bits, kind}.
bool operator==(const TrackKey& a, const TrackKey& b);
void PrintTo(const TrackKey& key, std::ostream* out);

// The keys a track holds.
std::vector<TrackKey> keysOf(const SyncTrack* track);
