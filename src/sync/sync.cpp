// Sync device, track lookup, track loading and evaluation. Allocation is plain malloc/free: the
// device owns its tracks and each track its name and keys, released together by
// destroySyncDevice.
#include "sync/sync.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/regular_file.h"
#include "sync/track_file.h"

namespace {

char* copyText(const char* text) {
    size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(std::malloc(size));
    if (copy) std::memcpy(copy, text, size);
    return copy;
}

void freeTrack(SyncTrack* track) {
    std::free(track->name);
    std::free(track->keys);
    std::free(track);
}

SyncTrack* newTrack(const char* name) {
    SyncTrack* track = static_cast<SyncTrack*>(std::malloc(sizeof(SyncTrack)));
    if (!track) return nullptr;
    track->name = copyText(name);
    track->keys = nullptr;
    track->keyCount = 0;
    if (!track->name) {
        std::free(track);
        return nullptr;
    }
    return track;
}

// Grows the device's array by one element holding `track`. -1 leaves the device unchanged.
int appendTrack(SyncDevice* device, SyncTrack* track) {
    if (device->trackCount == INT32_MAX) return -1;
    size_t newCount = static_cast<size_t>(device->trackCount) + 1;
    void* grown = std::realloc(device->tracks, newCount * sizeof(SyncTrack*));
    if (!grown) return -1;
    device->tracks = static_cast<SyncTrack**>(grown);
    device->tracks[device->trackCount] = track;
    device->trackCount += 1;
    return 0;
}

// Appends `source` to `buffer`, which holds `*used` characters. -1 when it does not fit with the
// terminator; the buffer is always terminated.
int appendBounded(char* buffer, size_t* used, const char* source) {
    size_t length = std::strlen(source);
    if (length >= trackFileNameCapacity - *used) return -1;
    std::memcpy(buffer + *used, source, length + 1);
    *used += length;
    return 0;
}

// The value inside the segment from `from` to `to` at `row`, with from.row <= row < to.row.
float evaluateSegment(const TrackKey& from, const TrackKey& to, double row) {
    uint32_t kind = static_cast<uint32_t>(from.kind);
    if (kind > static_cast<uint32_t>(Interpolation::Ramp)) return 0.0f;
    if (kind == static_cast<uint32_t>(Interpolation::Step)) return from.value;
    // 64-bit so that rows far apart cannot overflow. The search never hands over a segment
    // without length; the guard keeps a division by zero out should that ever change.
    int64_t rowSpan = static_cast<int64_t>(to.row) - from.row;
    if (rowSpan <= 0) return from.value;
    double t = (row - from.row) / static_cast<double>(rowSpan);
    double valueSpan = to.value - from.value;  // formed in single precision
    // Two finite values may lie further apart than a float holds; their difference in double
    // keeps the segment between them instead of running off to infinity or NaN.
    if (!std::isfinite(valueSpan) && segmentOverflows(from, to)) {
        valueSpan = static_cast<double>(to.value) - from.value;
    }
    switch (static_cast<Interpolation>(kind)) {
    case Interpolation::Linear: return static_cast<float>(t * valueSpan + from.value);
    case Interpolation::Smooth: return static_cast<float>((3 - 2 * t) * t * t * valueSpan + from.value);
    default: return static_cast<float>(std::pow(t, 2.0) * valueSpan + from.value);
    }
}

// Index k of the last key at or before `row`, or -1; where rows rise strictly it is the key
// findKeyIndex finds. Whatever the order of the keys, keys[k].row <= row < keys[k + 1].row
// holds for the k it returns (the key after it is always one the search compared and found
// above `row`), so the segment it starts has a length and the row lies inside it. Each halving
// is a conditional move with a fixed trip count, and both possible next probes are prefetched:
// rows in random order cost no mispredicted branches.
int lastKeyAtOrBefore(const SyncTrack* track, int32_t row) {
    const TrackKey* base = track->keys;
    int32_t count = track->keyCount;
    while (count > 1) {
        int32_t half = count / 2;
        __builtin_prefetch(base + half / 2);
        __builtin_prefetch(base + half + half / 2);
        base = base[half].row <= row ? base + half : base;
        count -= half;
    }
    int index = static_cast<int>(base - track->keys);
    return base->row <= row ? index : index - 1;
}

}  // namespace

SyncDevice* createSyncDevice() {
    SyncDevice* device = static_cast<SyncDevice*>(std::malloc(sizeof(SyncDevice)));
    if (!device) return nullptr;
    device->baseName = copyText("sync");
    if (!device->baseName) {
        std::free(device);
        return nullptr;
    }
    device->tracks = nullptr;
    device->trackCount = 0;
    device->openFile = openRegularStream;
    device->readFile = std::fread;
    device->closeFile = std::fclose;
    return device;
}

void destroySyncDevice(SyncDevice* device) {
    if (!device) return;
    std::free(device->baseName);
    for (int32_t i = 0; i < device->trackCount; ++i) freeTrack(device->tracks[i]);
    std::free(device->tracks);
    std::free(device);
}

int findTrackIndex(const SyncDevice* device, const char* name) {
    if (!device || !name) return -1;
    for (int32_t i = 0; i < device->trackCount; ++i) {
        if (std::strcmp(device->tracks[i]->name, name) == 0) return i;
    }
    return -1;
}

SyncTrack* getTrack(SyncDevice* device, const char* name) {
    if (!device || !name) return nullptr;
    int index = findTrackIndex(device, name);
    if (index >= 0) return device->tracks[index];
    SyncTrack* track = newTrack(name);
    if (!track) return nullptr;
    if (appendTrack(device, track) != 0) {
        freeTrack(track);
        return nullptr;
    }
    loadTrack(device, track);  // a track without a readable file stays empty
    return track;
}

const char* trackFileName(const char* baseName, const char* trackName) {
    static char substitutedName[trackFileNameCapacity];
    static char fileName[trackFileNameCapacity];
    if (!baseName || !trackName) return nullptr;
    size_t length = 0;
    for (; trackName[length] != '\0'; ++length) {
        if (length == trackFileNameCapacity - 1) return nullptr;
        substitutedName[length] = trackName[length] == ':' ? '[' : trackName[length];
    }
    substitutedName[length] = '\0';
    size_t used = 0;
    fileName[0] = '\0';
    if (appendBounded(fileName, &used, baseName) != 0 || appendBounded(fileName, &used, "_") != 0 ||
        appendBounded(fileName, &used, substitutedName) != 0 || appendBounded(fileName, &used, ".track") != 0) {
        return nullptr;
    }
    return fileName;
}

int loadTrack(SyncDevice* device, SyncTrack* track) {
    if (!device || !track) return -1;
    const char* fileName = trackFileName(device->baseName, track->name);
    if (!fileName) return -1;
    FILE* file = device->openFile(fileName, "rb");
    if (!file) return -1;
    TrackKeyRead read;
    int status = readTrackKeys(device, file, &read);
    device->closeFile(file);
    std::free(track->keys);
    track->keys = read.keys;
    track->keyCount = read.keyCount;
    return status;
}

int setTrackKeys(SyncTrack* track, const TrackKey* keys, int32_t keyCount) {
    if (!track || keyCount < 0 || keyCount > maxTrackKeys || (keyCount > 0 && !keys)) return -1;
    TrackKey* copy = nullptr;
    if (keyCount > 0) {
        copy = static_cast<TrackKey*>(std::malloc(sizeof(TrackKey) * size_t(keyCount)));
        if (!copy) return -1;
        std::memcpy(copy, keys, sizeof(TrackKey) * size_t(keyCount));
    }
    std::free(track->keys);
    track->keys = copy;
    track->keyCount = keyCount;
    return 0;
}

int findKeyIndex(const SyncTrack* track, int32_t row) {
    if (!track || !track->keys || track->keyCount <= 0) return -1;
    int32_t lo = 0;
    int32_t hi = track->keyCount;
    while (lo < hi) {
        int32_t mid = lo + (hi - lo) / 2;
        if (track->keys[mid].row < row) {
            lo = mid + 1;
        } else if (track->keys[mid].row > row) {
            hi = mid;
        } else {
            return mid;
        }
    }
    return lo - 1;
}

float evaluateTrack(const SyncTrack* track, double row) {
    if (!track || !track->keys || track->keyCount <= 0) return 0.0f;
    const TrackKey* keys = track->keys;
    int32_t lastKey = track->keyCount - 1;
    double wholeRow = std::floor(row);
    // Rows whose floor is no int32 lie before or after every key; NaN counts as before.
    if (!(wholeRow >= static_cast<double>(INT32_MIN))) return keys[0].value;
    if (wholeRow > static_cast<double>(INT32_MAX)) return keys[lastKey].value;
    int32_t searchRow = static_cast<int32_t>(wholeRow);
    int keyIndex = lastKeyAtOrBefore(track, searchRow);
    if (keyIndex < 0) return keys[0].value;
    if (keyIndex >= lastKey) return keys[lastKey].value;
    return evaluateSegment(keys[keyIndex], keys[keyIndex + 1], row);
}
