// Benchmarks of the sync tracks: evaluating a track of 10 000 keys at random rows and at the
// rising rows of playback, and loading the show's 20 tracks from files in a temporary directory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "runtime/track_set.h"
#include "sync/sync.h"
#include "sync/track_file.h"

namespace {

std::vector<TrackKey> randomKeys(int count, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<TrackKey> keys(static_cast<size_t>(count));
    int32_t row = 0;
    for (TrackKey& key : keys) {
        row += 1 + static_cast<int32_t>(random() % 48);
        key = {row, static_cast<float>(random() % 10000) * 0.01f, static_cast<int32_t>(random() % 4)};
    }
    return keys;
}

constexpr int evaluatedKeys = 10000;
constexpr size_t rowCount = 1 << 16;

void evaluateRows(benchmark::State& state, const std::vector<double>& rows) {
    std::vector<TrackKey> keys = randomKeys(evaluatedKeys, 1);
    SyncTrack track{nullptr, keys.data(), evaluatedKeys};
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(evaluateTrack(&track, rows[next]));
        next = (next + 1) & (rowCount - 1);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_EvaluateTrackRandomRows(benchmark::State& state) {
    double lastRow = randomKeys(evaluatedKeys, 1).back().row;
    std::mt19937 random(2);
    std::uniform_real_distribution<double> anyRow(-100.0, lastRow + 100.0);
    std::vector<double> rows(rowCount);
    for (double& row : rows) row = anyRow(random);
    evaluateRows(state, rows);
}

// Rows as a 60 Hz playback meets them: 0.4 rows apart, rising.
void BM_EvaluateTrackPlaybackRows(benchmark::State& state) {
    std::vector<double> rows(rowCount);
    for (size_t i = 0; i < rowCount; ++i) rows[i] = static_cast<double>(i) * 0.4;
    evaluateRows(state, rows);
}

void BM_LoadShowTracks(benchmark::State& state) {
    std::string previous = std::filesystem::current_path().string();
    std::string directory = (std::filesystem::temp_directory_path() / "sync-bench-XXXXXX").string();
    if (!mkdtemp(directory.data()) || chdir(directory.c_str()) != 0) {
        state.SkipWithError("cannot make a temporary directory");
        return;
    }
    std::vector<TrackKey> keys = randomKeys(static_cast<int>(state.range(0)), 3);
    for (const char* name : trackNames) {
        writeTrackFile(trackFileName("sync", name), keys.data(), static_cast<int32_t>(keys.size()));
    }
    for (auto _ : state) {
        SyncDevice* device = createSyncDevice();
        TrackSet tracks = requestTrackSet(device);
        benchmark::DoNotOptimize(tracks.tunnelTexture->keyCount);
        destroySyncDevice(device);
    }
    state.SetItemsProcessed(state.iterations() * trackCount * state.range(0));
    if (chdir(previous.c_str()) != 0) state.SkipWithError("cannot return to the working directory");
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
}

}  // namespace

BENCHMARK(BM_EvaluateTrackRandomRows);
BENCHMARK(BM_EvaluateTrackPlaybackRows);
BENCHMARK(BM_LoadShowTracks)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
