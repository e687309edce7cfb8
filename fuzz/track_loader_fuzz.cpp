// Fuzz target: any bytes as a track file, loaded through the device's file operations (opened
// from memory) and evaluated at rows around every key, at both ends and past the int32 range.
// Checks that no more keys load than the bytes can hold and that the checker sees the same file.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#include "sync/sync.h"
#include "sync/track_file.h"

namespace {

const uint8_t* fuzzData = nullptr;
size_t fuzzSize = 0;

FILE* openFuzzData(const char*, const char* mode) { return fmemopen(const_cast<uint8_t*>(fuzzData), fuzzSize, mode); }

void require(bool condition) {
    if (!condition) std::abort();
}

std::vector<double> probeRows(const SyncTrack* track) {
    const double infinity = std::numeric_limits<double>::infinity();
    std::vector<double> rows{-infinity, infinity,      std::nan(""),  -1e300,       1e300,         0.0,
                             -0.5,      -2147483648.0, -2147483648.5, 2147483647.0, 2147483647.999};
    for (int32_t i = 0; i < track->keyCount && i < 2000; ++i) {
        double row = track->keys[i].row;
        for (double offset : {-1.0, -0.25, 0.0, 0.5, 1.0}) rows.push_back(row + offset);
    }
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzData = data;
    fuzzSize = size;
    SyncDevice* device = createSyncDevice();
    require(device != nullptr);
    device->openFile = openFuzzData;
    SyncTrack* track = getTrack(device, "fuzz:track");
    require(track != nullptr && track->keyCount >= 0);
    require(static_cast<int64_t>(track->keyCount) <= (size < 4 ? 0 : static_cast<int64_t>(size - 4) / 9));
    for (double row : probeRows(track)) {
        float value = evaluateTrack(track, row);
        (void)value;
        if (std::isfinite(row) && std::fabs(row) < 2147483647.0) {
            int index = findKeyIndex(track, static_cast<int32_t>(std::floor(row)));
            require(index >= -1 && index < track->keyCount);
        }
    }
    TrackFileReport report;
    inspectTrackFile(device, "fuzz:track", &report);
    require(report.opened && report.fileBytes == static_cast<int64_t>(size));
    require(report.keyCount == track->keyCount);
    destroySyncDevice(device);
    return 0;
}
