// The demo-tracks tool, run for real in a scratch directory: build and dump round trips, check
// finds every kind of damage, eval agrees with the library, and bad arguments exit with 2.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "runtime/track_set.h"
#include "support/sync_files.h"
#include "sync/sync.h"

namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The line of `output` that starts with `prefix`, or "".
std::string lineStartingWith(const std::string& output, const std::string& prefix) {
    size_t start = output.find(prefix);
    return start == std::string::npos ? "" : output.substr(start, output.find('\n', start) - start);
}

const char* const showSource =
    "# two tracks of a show\n"
    "tempo 120\n"
    "track fade:bg_white\n"
    "0       1      linear\n"
    "2:1     0.3    smooth   # row 48\n"
    "2:2.5   0      ramp\n"
    "400     -7.25\n"
    "track features\n"
    "-10     bits:ff800000  9\n"
    "10      2.5e-7 -3\n";

TEST(TracksTool, BuildThenDumpRebuildsIdenticalFiles) {
    ScratchDirectory scratch;
    writeFileBytes("show.txt", showSource);
    ToolRun build = runTracksTool({"build", "show.txt"});
    ASSERT_EQ(build.status, 0) << build.err;
    EXPECT_TRUE(contains(build.out, "sync_fade[bg_white.track, 4 keys"));
    std::string dumped;
    for (const char* name : {"fade:bg_white", "features"}) {
        ToolRun dump = runTracksTool({"dump", name});
        ASSERT_EQ(dump.status, 0) << dump.err;
        dumped += dump.out;
    }
    EXPECT_TRUE(contains(dumped, "track fade:bg_white  # 4 keys\n"));
    EXPECT_TRUE(contains(dumped, "      66  0               ramp\n"));
    std::filesystem::create_directory("again");
    writeFileBytes("again/dumped.txt", dumped);
    ASSERT_EQ(chdir("again"), 0);
    ToolRun rebuild = runTracksTool({"build", "dumped.txt"});
    ASSERT_EQ(rebuild.status, 0) << rebuild.err;
    for (const char* file : {"sync_fade[bg_white.track", "sync_features.track"}) {
        EXPECT_EQ(readFileBytes(file), readFileBytes(std::string("../") + file)) << file;
    }
}

TEST(TracksTool, BuildErrorsNameTheLineAndWriteNothing) {
    ScratchDirectory scratch;
    writeFileBytes("show.txt", "track a\n0 1\n1:1 2\n5 1 jump\n");
    ToolRun build = runTracksTool({"build", "show.txt"});
    EXPECT_EQ(build.status, 1);
    EXPECT_TRUE(contains(build.err, "show.txt:3: time '1:1' needs a 'tempo' line")) << build.err;
    EXPECT_TRUE(contains(build.err, "show.txt:4: unknown interpolation 'jump'")) << build.err;
    EXPECT_FALSE(std::filesystem::exists("sync_a.track"));
    EXPECT_EQ(runTracksTool({"build", "absent.txt"}).status, 1);
    ASSERT_EQ(mkfifo("fifo.txt", 0644), 0);  // no writer: a blocking open would wait forever
    ToolRun fifo = runTracksTool({"build", "fifo.txt"});
    EXPECT_EQ(fifo.status, 1);
    EXPECT_TRUE(contains(fifo.err, "cannot read fifo.txt: a FIFO, not a regular file")) << fifo.err;
}

// The names in the working directory.
std::set<std::string> namesHere() {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) names.insert(entry.path().filename().string());
    return names;
}

// Runs the tool with files limited to `bytes`: a write beyond fails as on a full disk.
ToolRun runTracksToolWithFileSizeLimit(const std::vector<std::string>& arguments, rlim_t bytes) {
    rlimit previous;
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited{bytes, previous.rlim_max};
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);  // inherited: the write fails instead
    setrlimit(RLIMIT_FSIZE, &limited);
    ToolRun run = runTracksTool(arguments);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    return run;
}

TEST(TracksTool, BuildReplacesEveryFileOrNone) {
    ScratchDirectory scratch;
    const std::string oldBytes = trackFileBytes({{0, 9.0f, 0}});
    writeFileBytes("sync_a.track", oldBytes);
    std::string bigSource = "track a\n0 1\ntrack b\n";
    for (int row = 0; row < 200; ++row) bigSource += std::to_string(row) + " 1\n";
    writeFileBytes("big.txt", bigSource);  // track b's file takes 1804 bytes
    ToolRun full = runTracksToolWithFileSizeLimit({"build", "big.txt"}, 1024);
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(contains(full.err, "track 'b': File too large; no track file was changed")) << full.err;
    EXPECT_EQ(readFileBytes("sync_a.track"), oldBytes);
    EXPECT_EQ(namesHere(), (std::set<std::string>{"big.txt", "sync_a.track"}));

    std::filesystem::create_directory("sync_c.track");
    writeFileBytes("abc.txt", "track a\n0 1\ntrack b\n0 2\ntrack c\n0 3\n");
    ToolRun blocked = runTracksTool({"build", "abc.txt"});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_TRUE(contains(blocked.err, "track 'c': Is a directory")) << blocked.err;
    EXPECT_EQ(readFileBytes("sync_a.track"), oldBytes);
    EXPECT_EQ(namesHere(), (std::set<std::string>{"abc.txt", "big.txt", "sync_a.track", "sync_c.track"}));

    // A link planted where a temporary file might go is not written through, and the longest
    // name the source allows still has room for its temporary file.
    writeFileBytes("precious", "keep me");
    ASSERT_EQ(symlink("precious", "sync_a.track.tmp"), 0);
    std::string longName(231, 'n');
    writeFileBytes("long.txt", "track a\n0 1\ntrack " + longName + "\n0 2\n");
    ToolRun build = runTracksTool({"build", "long.txt"});
    EXPECT_EQ(build.status, 0) << build.err;
    EXPECT_EQ(readFileBytes("precious"), "keep me");
    EXPECT_EQ(readFileBytes("sync_a.track"), trackFileBytes({{0, 1.0f, 0}}));
    EXPECT_EQ(readFileBytes("sync_" + longName + ".track"), trackFileBytes({{0, 2.0f, 0}}));
}

TEST(TracksTool, CheckFindsEachKindOfDamage) {
    ScratchDirectory scratch;
    std::vector<TrackKey> keys{{0, 1.0f, 1}, {24, 2.0f, 2}, {48, 3.0f, 0}};
    for (const char* name : trackNames) writeFileBytes(trackFileName("sync", name), trackFileBytes(keys));
    ToolRun healthy = runTracksTool({"check"});
    EXPECT_EQ(healthy.status, 0) << healthy.out;
    EXPECT_EQ(lineStartingWith(healthy.out, "sync_tunnel[texture.track"), "sync_tunnel[texture.track: ok, 3 keys");

    struct Damage {
        const char* track;
        std::string bytes;
        const char* report;
    };
    std::string whole = trackFileBytes(keys);
    const Damage damages[] = {
        {"fade:fg_black", "", "empty (0 bytes)"},
        {"fade:fg_noise", whole.substr(0, 20), "truncated: the count says 3 keys, 1 complete keys survive"},
        {"avatar:good", whole.substr(0, 2), "truncated: 2 bytes, the key count is incomplete"},
        {"avatar:evil", whole + "xy", "trailing bytes: 2 bytes after the last key"},
        {"lyrics:good", trackFileBytes({{0, 1, 0}, {9, 1, 0}, {9, 1, 0}, {3, 1, 0}}),
         "rows not increasing: key 2 (row 9) is not after key 1 (row 9) (and 1 more)"},
        {"lyrics:evil", trackFileBytes({{0, 1, 1}, {5, 1, -2}}), "unknown kind -2 at key 1"},
        {"features", trackFileBytes({{0, floatFromBits(0x7f800000), 1}}), "non-finite value at key 0"},
        {"tunnel:move", trackFileBytes(-5, keys), "negative key count -5"},
        {"pictogram:x", trackFileBytes(200000000, keys), "key count 200000000 is over the limit of 1000000 keys"},
        {"tunnel:variation", trackFileBytes({{0, -3e38f, 1}, {9, 3e38f, 0}}),
         "value overflow: the values of key 0 and key 1 differ by more than a 32-bit float holds"},
    };
    for (const Damage& damage : damages) writeFileBytes(trackFileName("sync", damage.track), damage.bytes);
    std::remove(trackFileName("sync", "refrain:sun"));
    // What is no regular file is refused before a byte is read: a FIFO without a writer would
    // block the open, and /dev/zero never ends.
    struct Planted {
        const char* track;
        int (*plant)(const char* path);
        const char* report;
    };
    const Planted planted[] = {
        {"refrain:background", [](const char* path) { return mkdir(path, 0755); }, "a directory, not a regular file"},
        {"refrain:foreground", [](const char* path) { return mkfifo(path, 0644); }, "a FIFO, not a regular file"},
        {"refrain:polaroid_start", [](const char* path) { return symlink("/dev/zero", path); },
         "a device, not a regular file"},
    };
    for (const Planted& entry : planted) {
        std::string file = trackFileName("sync", entry.track);
        std::remove(file.c_str());
        ASSERT_EQ(entry.plant(file.c_str()), 0) << file;
    }
    ToolRun check = runTracksTool({"check"});
    EXPECT_EQ(check.status, 1);
    for (const Damage& damage : damages) {
        std::string file = trackFileName("sync", damage.track);
        EXPECT_EQ(lineStartingWith(check.out, file + ":"), file + ": " + damage.report);
    }
    for (const Planted& entry : planted) {
        std::string file = trackFileName("sync", entry.track);
        EXPECT_EQ(lineStartingWith(check.out, file + ":"), file + ": " + entry.report);
    }
    EXPECT_EQ(lineStartingWith(check.out, "sync_refrain[sun"), "sync_refrain[sun.track: missing");
    EXPECT_EQ(lineStartingWith(check.out, "sync_tunnel[texture"), "sync_tunnel[texture.track: ok, 3 keys");
    EXPECT_TRUE(contains(check.out, "14 of 20 track files are not well formed"));
    ToolRun eval = runTracksTool({"eval", "refrain:foreground", "0"});
    EXPECT_EQ(eval.status, 1);
    EXPECT_TRUE(contains(eval.err, "a FIFO, not a regular file")) << eval.err;
}

TEST(TracksTool, EvalAgreesWithTheLibrary) {
    ScratchDirectory scratch;
    writeFileBytes(
        "sync_refrain[sun.track",
        trackFileBytes({{-3, 0.1f, 1}, {21, 0.7f, 2}, {40, -5.0f, 3}, {77, 12.0f, 0}, {90, 1, 4}, {95, 2, 1}}));
    std::vector<std::string> arguments{"eval", "refrain:sun"};
    for (double row = -5; row < 100; row += 1.375) arguments.push_back(std::to_string(row));
    arguments.push_back("1e300");
    ToolRun eval = runTracksTool(arguments);
    ASSERT_EQ(eval.status, 0) << eval.err;
    std::string expected;
    SyncDevice* device = createSyncDevice();
    SyncTrack* track = getTrack(device, "refrain:sun");
    for (size_t i = 2; i < arguments.size(); ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "%.9g\n", evaluateTrack(track, std::stod(arguments[i])));
        expected += line;
    }
    destroySyncDevice(device);
    EXPECT_EQ(eval.out, expected);
    EXPECT_TRUE(contains(eval.err, "unknown kind 4")) << "damage is reported as a warning";
}

TEST(TracksTool, HelpExitsZeroAndBadArgumentsExitTwo) {
    ScratchDirectory scratch;
    EXPECT_TRUE(contains(runTracksTool({"--help"}).out, "Usage: demo-tracks COMMAND"));
    for (const char* command : {"eval", "dump", "check", "build"}) {
        ToolRun help = runTracksTool({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(contains(help.out, std::string("Usage: demo-tracks ") + command)) << help.out;
    }
    const std::vector<std::vector<std::string>> badCalls{{},
                                                         {"frobnicate"},
                                                         {"eval"},
                                                         {"eval", "x"},
                                                         {"eval", "x", "1", "abc"},
                                                         {"eval", "x", "nan"},
                                                         {"dump"},
                                                         {"dump", "a", "b"},
                                                         {"check", "extra"},
                                                         {"build"},
                                                         {"build", "a", "b"},
                                                         {"check", "--verbose"},
                                                         {"eval", std::string(300, 'x'), "1"}};
    for (const std::vector<std::string>& call : badCalls) {
        ToolRun run = runTracksTool(call);
        EXPECT_EQ(run.status, 2) << (call.empty() ? "(no arguments)" : call[0]);
        EXPECT_TRUE(contains(run.err, "demo-tracks: ")) << run.err;
    }
    EXPECT_EQ(runTracksTool({"eval", "absent", "1"}).status, 1);
    EXPECT_EQ(runTracksTool({"dump", "absent"}).status, 1);
}

}  // namespace
