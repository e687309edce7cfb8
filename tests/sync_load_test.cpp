// Loading tracks from real files in a scratch directory: the file layout and name rule, damaged
// files of every kind, the device's bookkeeping and file operations, and the show's track set.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/track_set.h"
#include "support/sync_files.h"
#include "sync/sync.h"
#include "sync/track_file.h"

namespace {

const std::vector<TrackKey> threeKeys{{-7, 1.5f, 1}, {0, -0.0f, 3}, {96, 4.25f, 0}};

// The first `count` of the three keys.
std::vector<TrackKey> firstKeys(size_t count) { return {threeKeys.begin(), threeKeys.begin() + count}; }

std::vector<std::string> openedPaths;
int readCalls = 0;

FILE* recordingOpen(const char* path, const char* mode) {
    openedPaths.push_back(path);
    return std::fopen(path, mode);
}

size_t countingRead(void* destination, size_t size, size_t count, FILE* file) {
    ++readCalls;
    return std::fread(destination, size, count, file);
}

SyncDevice* recordingDevice() {
    openedPaths.clear();
    readCalls = 0;
    SyncDevice* device = createSyncDevice();
    device->openFile = recordingOpen;
    device->readFile = countingRead;
    return device;
}

TEST(SyncLoad, WriterAndLoaderUseThePackedLittleEndianLayoutUnderTheTracksFileName) {
    ScratchDirectory scratch;
    std::vector<TrackKey> keys{
        {INT32_MIN, floatFromBits(0x7fc12345), -1}, {-1, -0.0f, -128}, {5, 1e-40f, 127}, {INT32_MAX, 3.0f, 2}};
    ASSERT_EQ(writeTrackFile("written.track", keys.data(), 4), 0);
    EXPECT_EQ(readFileBytes("written.track"), trackFileBytes(keys));
    auto entries = std::filesystem::directory_iterator(".");
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1) << "no temporary file is left";
    writeFileBytes("sync_tunnel[move.track", trackFileBytes(keys));
    SyncDevice* device = createSyncDevice();
    EXPECT_EQ(keysOf(getTrack(device, "tunnel:move")), keys);
    destroySyncDevice(device);
}

// An empty file is a track of no keys; a missing one, or what is no regular file, is refused
// without blocking (a FIFO without a writer would block the open, /dev/zero never ends).
TEST(SyncLoad, EmptyMissingAndIrregularFilesGiveEmptyTracks) {
    ScratchDirectory scratch;
    writeFileBytes("sync_features.track", "");
    ASSERT_EQ(mkfifo("sync_fifo.track", 0644), 0);
    ASSERT_EQ(mkdir("sync_folder.track", 0755), 0);
    ASSERT_EQ(symlink("/dev/zero", "sync_zeros.track"), 0);
    SyncDevice* device = createSyncDevice();
    for (const char* name : {"features", "fade:bg_white", "fifo", "folder", "zeros"}) {
        SyncTrack* track = getTrack(device, name);
        ASSERT_NE(track, nullptr);
        EXPECT_EQ(track->keyCount, 0) << name;
        EXPECT_EQ(track->keys, nullptr) << name;
        EXPECT_EQ(evaluateTrack(track, -3.0), 0.0f) << name;
        EXPECT_EQ(loadTrack(device, track), std::string(name) == "features" ? 0 : -1) << name;
    }
    destroySyncDevice(device);
}

TEST(SyncLoad, AFileCutAtAnyByteKeepsItsCompleteKeys) {
    ScratchDirectory scratch;
    std::string whole = trackFileBytes(threeKeys);
    ASSERT_EQ(whole.size(), 31u);
    for (size_t length = 0; length <= whole.size(); ++length) {
        writeFileBytes("sync_cut.track", whole.substr(0, length));
        SyncDevice* device = createSyncDevice();
        SyncTrack* track = getTrack(device, "cut");
        size_t complete = length < 4 ? 0 : (length - 4) / 9;
        EXPECT_EQ(keysOf(track), firstKeys(complete)) << length << " bytes";
        bool wholeOrEmpty = length == 0 || length == whole.size();
        EXPECT_EQ(loadTrack(device, track), wholeOrEmpty ? 0 : -1) << length << " bytes";
        EXPECT_EQ(keysOf(track), firstKeys(complete)) << "a second load replaces the keys";
        destroySyncDevice(device);
    }
}

TEST(SyncLoad, CountsThatTheDataDoesNotBackAreBounded) {
    ScratchDirectory scratch;
    struct Case {
        int32_t count;
        std::string extra;
        size_t keys;
        int result;
    };
    for (Case c : {Case{2, "junk!", 2, 0}, Case{-1, "", 0, -1}, Case{INT32_MAX, "", 3, -1}, Case{1000, "abc", 3, -1}}) {
        writeFileBytes("sync_odd.track", trackFileBytes(c.count, threeKeys) + c.extra);
        SyncDevice* device = createSyncDevice();
        SyncTrack* track = getTrack(device, "odd");
        EXPECT_EQ(keysOf(track), firstKeys(c.keys)) << "count " << c.count;
        EXPECT_EQ(loadTrack(device, track), c.result) << "count " << c.count;
        destroySyncDevice(device);
    }
}

// Runs `body` in a child process whose address space may grow by `extraBytes` only; true when it
// returned true.
bool passesWithLittleMemory(size_t extraBytes, bool (*body)()) {
    pid_t child = fork();
    if (child == 0) {
        long pages = 0;  // the address space in use, from /proc/self/statm
        std::ifstream("/proc/self/statm") >> pages;
        rlim_t limit = static_cast<rlim_t>(pages * sysconf(_SC_PAGESIZE)) + extraBytes;
        rlimit addressSpace{limit, limit};
        setrlimit(RLIMIT_AS, &addressSpace);
        _exit(body() ? 0 : 1);
    }
    int status = -1;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A file that claims `count` keys and is long enough to hold them, all zero bytes after the
// count: a sparse file that takes almost no disk.
void writeSparseTrackFile(const char* path, int32_t count) {
    writeFileBytes(path, trackFileBytes(count, {}));
    ASSERT_EQ(truncate(path, trackCountBytes + int64_t{count} * trackRecordBytes), 0);
}

TEST(SyncLoad, MemoryStaysBoundedByTheKeysPresentAndTheLimit) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address space limit does not mix with AddressSanitizer's shadow memory";
#endif
    ScratchDirectory scratch;
    writeFileBytes("sync_huge.track", trackFileBytes(100000000, threeKeys));  // claims 1.2 GB
    writeSparseTrackFile("sync_sparse.track", 200000000);                     // holds 200 million keys, 2.4 GB
    writeSparseTrackFile("sync_full.track", maxTrackKeys);
    EXPECT_TRUE(passesWithLittleMemory(64u << 20, [] {
        SyncDevice* device = createSyncDevice();
        return device && getTrack(device, "huge")->keyCount == 3 &&
               getTrack(device, "sparse")->keyCount == maxTrackKeys;
    }));
    // The 12 MB the keys take do not fit in 4 MB, and the report says so.
    EXPECT_TRUE(passesWithLittleMemory(4u << 20, [] {
        SyncDevice* device = createSyncDevice();
        TrackFileReport report;
        inspectTrackFile(device, "full", &report);
        std::vector<std::string> problems = describeTrackFileProblems(report);
        return problems == std::vector<std::string>{"out of memory while reading the keys"};
    }));
}

TEST(SyncLoad, ANameIsReadOnceThroughTheDevicesFileOperationsAndCaseMatters) {
    ScratchDirectory scratch;
    writeFileBytes("sync_lyrics[good.track", trackFileBytes({{0, 1.0f, 0}}));
    writeFileBytes("sync_Lyrics[good.track", trackFileBytes({{0, 2.0f, 0}}));
    SyncDevice* device = recordingDevice();
    SyncTrack* first = getTrack(device, "lyrics:good");
    EXPECT_GT(readCalls, 0);
    EXPECT_EQ(getTrack(device, "lyrics:good"), first);
    EXPECT_EQ(openedPaths, std::vector<std::string>{"sync_lyrics[good.track"});
    SyncTrack* capital = getTrack(device, "Lyrics:good");
    EXPECT_NE(capital, first);
    EXPECT_EQ(evaluateTrack(first, 0), 1.0f);
    EXPECT_EQ(evaluateTrack(capital, 0), 2.0f);
    EXPECT_EQ(openedPaths.size(), 2u);
    EXPECT_EQ(findTrackIndex(device, "Lyrics:good"), 1);
    destroySyncDevice(device);
}

TEST(SyncLoad, FileNamesSpellColonsAsBracketsAndRefuseWhatDoesNotFit) {
    EXPECT_STREQ(trackFileName("sync", "a:b::c"), "sync_a[b[[c.track");
    // "sync_" + name + ".track" fits 259 characters for names of up to 248.
    EXPECT_EQ(std::strlen(trackFileName("sync", std::string(248, 'x').c_str())), 259u);
    EXPECT_EQ(trackFileName("sync", std::string(249, 'x').c_str()), nullptr);
    EXPECT_EQ(trackFileName("sync", std::string(100000, ':').c_str()), nullptr);
    EXPECT_EQ(trackFileName(std::string(300, 'b').c_str(), "x"), nullptr);
    SyncDevice* device = createSyncDevice();
    SyncTrack* track = getTrack(device, std::string(5000, 'y').c_str());
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->keyCount, 0);
    destroySyncDevice(device);
}

TEST(SyncTrackSet, RequestsTheShowsTracksInOrderIntoTheirFields) {
    ScratchDirectory scratch;
    SyncDevice* device = recordingDevice();
    TrackSet set = requestTrackSet(device);
    ASSERT_EQ(device->trackCount, trackCount);
    ASSERT_EQ(openedPaths.size(), static_cast<size_t>(trackCount));
    for (int i = 0; i < trackCount; ++i) EXPECT_EQ(openedPaths[i], trackFileName("sync", trackNames[i]));
    // One field of each pair that is easily swapped, with the track of its own name.
    EXPECT_STREQ(set.fadeBgWhite->name, "fade:bg_white");
    EXPECT_STREQ(set.pictogramX->name, "pictogram:x");
    EXPECT_STREQ(set.refrainForeground->name, "refrain:foreground");
    EXPECT_STREQ(set.refrainPolaroidStart->name, "refrain:polaroid_start");
    EXPECT_STREQ(set.tunnelTexture->name, "tunnel:texture");
    destroySyncDevice(device);
}

}  // namespace
