// Sync tracks: named keyframe tracks that drive everything animated in the show. Each track is
// read once, at start-up, from its own file in the working directory, and evaluated every frame
// at the fractional row of the music (24 rows per second).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Shape of the segment that begins at a key and ends at the next one. A key's kind holds one of
// these values or, when a file says so, any other number, which makes its segment evaluate to 0.
enum class Interpolation : int32_t { Step = 0, Linear = 1, Smooth = 2, Ramp = 3 };

struct TrackKey {
    int32_t row;
    float value;
    int32_t kind;  // an Interpolation value, or whatever other number the file held
};

struct SyncTrack {
    char* name;      // owned copy of the name asked for; compared byte for byte
    TrackKey* keys;  // owned; null while the track has no keys
    int32_t keyCount;
};

// The device's file operations. They start as openRegularStream (the C library's buffered stream,
// opened so that it cannot block and only on a regular file), fread and fclose; tests and tools
// may replace them (for example to count how often a file is opened).
using OpenFileFunction = FILE* (*)(const char* path, const char* mode);
using ReadFileFunction = size_t (*)(void* destination, size_t elementSize, size_t elementCount, FILE* file);
using CloseFileFunction = int (*)(FILE* file);

struct SyncDevice {
    char* baseName;      // owned; prefix of every track file name, always "sync"
    SyncTrack** tracks;  // owned, in creation order; exactly trackCount elements
    int32_t trackCount;
    OpenFileFunction openFile;
    ReadFileFunction readFile;
    CloseFileFunction closeFile;
};

// Room for a track file name, terminator included. Longer names are refused.
constexpr int trackFileNameCapacity = 260;

// A new device with no tracks, or null when memory runs out.
SyncDevice* createSyncDevice();

// Frees the device, every track it created and their keys. Accepts null.
void destroySyncDevice(SyncDevice* device);

// The track called `name`: the one already created, or a new one whose keys are read from its
// file. A track whose file is missing or unreadable comes back empty (it evaluates to 0).
// Null only when memory runs out or an argument is null.
SyncTrack* getTrack(SyncDevice* device, const char* name);

// Index of the first track called exactly `name`, or -1.
int findTrackIndex(const SyncDevice* device, const char* name);

// File name of a track: base name, "_", the track name with every ':' written as '[', ".track".
// The text lives in a buffer that the next call overwrites. Null when an argument is null or the
// name would not fit in trackFileNameCapacity characters.
const char* trackFileName(const char* baseName, const char* trackName);

// Reads the track's file into its keys, replacing any it had. Keeps every complete key the file
// holds, up to the count it claims and at most maxTrackKeys (track_file.h). 0 when the file
// delivered exactly what it claims (an empty file counts as a track of no keys); -1 when it
// cannot be opened or is no regular file, claims a negative count or one over the limit, ends
// early, or memory runs out.
int loadTrack(SyncDevice* device, SyncTrack* track);

// Replaces the track's keys with a copy of the given ones (at most maxTrackKeys). 0 on success; -1,
// the track left as it was, when the count is out of range or memory runs out.
int setTrackKeys(SyncTrack* track, const TrackKey* keys, int32_t keyCount);

// Index of the key standing exactly at `row`, else of the last key before it, else -1.
int findKeyIndex(const SyncTrack* track, int32_t row);

// The track's value at a fractional row. 0 for an empty track; the first key's value before the
// first key (and for NaN); the last key's value from the last key on. Keys out of order still
// give a value of a segment that holds the row, found in logarithmic time.
float evaluateTrack(const SyncTrack* track, double row);
