// The demo-tracks tool, run for real in a scratch directory: build and dump round trips, check
// finds every kind of damage, eval prints values in nine digits, and bad arguments exit with 2.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "runtime/track_set.h"
#include "support/run_program.h"
#include "support/sync_files.h"
#include "sync/sync.h"

namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Runs demo-tracks with `arguments` in the working directory, after the shell commands `setup`.
ProgramResult runTracksTool(const std::vector<std::string>& arguments, const std::string& setup = "") {
    std::string command = setup + shellQuote(builtProgram("demo-tracks"));
    for (const std::string& argument : arguments) command += " " + shellQuote(argument);
    return runCommand(command, ".");
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
    ProgramResult build = runTracksTool({"build", "show.txt"});
    ASSERT_EQ(build.status, 0) << build.err;
    EXPECT_TRUE(contains(build.out, "sync_fade[bg_white.track, 4 keys"));
    std::string dumped;
    for (const char* name : {"fade:bg_white", "features"}) {
        ProgramResult dump = runTracksTool({"dump", name});
        ASSERT_EQ(dump.status, 0) << dump.err;
        dumped += dump.out;
    }
    EXPECT_TRUE(contains(dumped, "track fade:bg_white  # 4 keys\n"));
    EXPECT_TRUE(contains(dumped, "      66  0               ramp\n"));
    std::filesystem::create_directory("again");
    writeFileBytes("again/dumped.txt", dumped);
    ASSERT_EQ(chdir("again"), 0);
    ProgramResult rebuild = runTracksTool({"build", "dumped.txt"});
    ASSERT_EQ(rebuild.status, 0) << rebuild.err;
    for (const char* file : {"sync_fade[bg_white.track", "sync_features.track"}) {
        EXPECT_EQ(readFileBytes(file), readFileBytes(std::string("../") + file)) << file;
    }
}

TEST(TracksTool, BuildErrorsNameTheLineAndWriteNothing) {
    ScratchDirectory scratch;
    writeFileBytes("show.txt", "track a\n0 1\n1:1 2\n5 1 jump\n");
    ProgramResult build = runTracksTool({"build", "show.txt"});
    EXPECT_EQ(build.status, 1);
    EXPECT_TRUE(contains(build.err, "show.txt:3: time '1:1' needs a 'tempo' line")) << build.err;
    EXPECT_TRUE(contains(build.err, "show.txt:4: unknown interpolation 'jump'")) << build.err;
    EXPECT_FALSE(std::filesystem::exists("sync_a.track"));
    EXPECT_EQ(runTracksTool({"build", "absent.txt"}).status, 1);
    ASSERT_EQ(mkfifo("fifo.txt", 0644), 0);  // no writer: a blocking open would wait forever
    ProgramResult fifo = runTracksTool({"build", "fifo.txt"});
    EXPECT_EQ(fifo.status, 1);
    EXPECT_TRUE(contains(fifo.err, "cannot read fifo.txt: a FIFO, not a regular file")) << fifo.err;
}

// Accents follow the song's events file named by the source, read from the working directory,
// as a show folder holds it; an events file that is missing or damaged is an error at the line
// naming it, and nothing is written.
TEST(TracksTool, BuildLaysAccentsFromTheSongsEventsOverTheKeys) {
    ScratchDirectory scratch;
    writeFileBytes("song.events", "# ROW LENGTH KIND\n24 6 sing:good\n40 3 sing:good\n48 12 kick\n");
    writeFileBytes("show.txt",
                   "tempo 120\nevents song.events\ntrack avatar:good\n0 2\non sing:good 5\n"
                   "track pictogram:scale\n0 1\npulse kick 0.5 6\n");
    ProgramResult build = runTracksTool({"build", "show.txt"});
    ASSERT_EQ(build.status, 0) << build.err;
    ProgramResult face = runTracksTool({"eval", "avatar:good", "23", "24", "29", "30", "40", "43", "44"});
    EXPECT_EQ(face.out, "2\n5\n5\n2\n5\n2\n2\n");
    ProgramResult scale = runTracksTool({"eval", "pictogram:scale", "47", "48", "51", "54"});
    EXPECT_EQ(scale.out, "1\n1.5\n1.25\n1\n");

    writeFileBytes("song.events", "24 6 sing:good\n12 3 sing:good\n");
    ProgramResult damaged = runTracksTool({"build", "show.txt"});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_TRUE(contains(damaged.err, "show.txt:2: the song's events cannot be read: song.events:2:")) << damaged.err;
    std::remove("song.events");
    ProgramResult missing = runTracksTool({"build", "show.txt"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(contains(missing.err, "show.txt:2: the song's events cannot be read: song.events: No such file"))
        << missing.err;
    writeFileBytes("song.events", "0 1 kick\n");
    ProgramResult unknown = runTracksTool({"build", "show.txt"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(contains(unknown.err, "show.txt:5: the song has no event 'sing:good'")) << unknown.err;
    EXPECT_EQ(runTracksTool({"eval", "avatar:good", "24"}).out, "5\n") << "the files of the first build stay";
}

// The names in the working directory.
std::set<std::string> namesHere() {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) names.insert(entry.path().filename().string());
    return names;
}

TEST(TracksTool, BuildReplacesEveryFileOrNone) {
    ScratchDirectory scratch;
    const std::string oldBytes = trackFileBytes({{0, 9.0f, 0}});
    writeFileBytes("sync_a.track", oldBytes);
    std::string bigSource = "track a\n0 1\ntrack b\n";
    for (int row = 0; row < 200; ++row) bigSource += std::to_string(row) + " 1\n";
    writeFileBytes("big.txt", bigSource);  // track b's file takes 1804 bytes
    // Files limited to one block (512 or 1024 bytes), SIGXFSZ ignored: the write fails as on a full disk.
    ProgramResult full = runTracksTool({"build", "big.txt"}, "trap '' XFSZ; ulimit -f 1; ");
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(contains(full.err, "track 'b': File too large; no track file was changed")) << full.err;
    EXPECT_EQ(readFileBytes("sync_a.track"), oldBytes);
    EXPECT_EQ(namesHere(), (std::set<std::string>{"big.txt", "sync_a.track"}));

    std::filesystem::create_directory("sync_c.track");
    writeFileBytes("abc.txt", "track a\n0 1\ntrack b\n0 2\ntrack c\n0 3\n");
    ProgramResult blocked = runTracksTool({"build", "abc.txt"});
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
    ProgramResult build = runTracksTool({"build", "long.txt"});
    EXPECT_EQ(build.status, 0) << build.err;
    EXPECT_EQ(readFileBytes("precious"), "keep me");
    EXPECT_EQ(readFileBytes("sync_a.track"), trackFileBytes({{0, 1.0f, 0}}));
    EXPECT_EQ(readFileBytes("sync_" + longName + ".track"), trackFileBytes({{0, 2.0f, 0}}));
}

TEST(TracksTool, CheckFindsEachKindOfDamage) {
    ScratchDirectory scratch;
    std::vector<TrackKey> keys{{0, 1.0f, 1}, {24, 2.0f, 2}, {48, 3.0f, 0}};
    for (const char* name : trackNames) writeFileBytes(trackFileName("sync", name), trackFileBytes(keys));
    ProgramResult healthy = runTracksTool({"check"});
    EXPECT_EQ(healthy.status, 0) << healthy.out;

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
    // What is no regular file is refused before a byte is read: a FIFO without a writer would
    // block the open, and /dev/zero never ends.
    for (const char* track : {"refrain:sun", "refrain:background", "refrain:foreground", "refrain:polaroid_start"}) {
        ASSERT_EQ(std::remove(trackFileName("sync", track)), 0);
    }
    ASSERT_EQ(mkdir("sync_refrain[background.track", 0755), 0);
    ASSERT_EQ(mkfifo("sync_refrain[foreground.track", 0644), 0);
    ASSERT_EQ(symlink("/dev/zero", "sync_refrain[polaroid_start.track"), 0);
    ProgramResult check = runTracksTool({"check"});
    EXPECT_EQ(check.status, 1);
    std::vector<std::string> lines{"sync_refrain[background.track: a directory, not a regular file",
                                   "sync_refrain[foreground.track: a FIFO, not a regular file",
                                   "sync_refrain[polaroid_start.track: a device, not a regular file",
                                   "sync_refrain[sun.track: missing",
                                   "sync_tunnel[texture.track: ok, 3 keys",
                                   "14 of 20 track files are not well formed"};
    for (const Damage& damage : damages) {
        lines.push_back(trackFileName("sync", damage.track) + std::string(": ") + damage.report);
    }
    for (const std::string& line : lines) {
        EXPECT_TRUE(contains(check.out, "\n" + line + "\n")) << line << "\n" << check.out;
    }
    ProgramResult eval = runTracksTool({"eval", "refrain:foreground", "0"});
    EXPECT_EQ(eval.status, 1);
    EXPECT_TRUE(contains(eval.err, "a FIFO, not a regular file")) << eval.err;
}

TEST(TracksTool, EvalPrintsValuesInNineDigitsAndWarnsOfDamage) {
    ScratchDirectory scratch;
    writeFileBytes("sync_refrain[sun.track", trackFileBytes({{-3, 0.1f, 0}, {21, 0.5f, 1}, {41, 1.5f, 4}, {50, 2, 1}}));
    ProgramResult eval = runTracksTool({"eval", "refrain:sun", "-5", "0", "23.5", "45.5", "1e300"});
    ASSERT_EQ(eval.status, 0) << eval.err;
    EXPECT_EQ(eval.out, "0.100000001\n0.100000001\n0.625\n0\n2\n");
    EXPECT_TRUE(contains(eval.err, "unknown kind 4")) << "damage is reported as a warning";
}

TEST(TracksTool, HelpExitsZeroAndBadArgumentsExitTwo) {
    ScratchDirectory scratch;
    EXPECT_TRUE(contains(runTracksTool({"--help"}).out, "Usage: demo-tracks COMMAND"));
    ProgramResult help = runTracksTool({"dump", "-h"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(contains(help.out, "Usage: demo-tracks dump")) << help.out;
    const std::vector<std::vector<std::string>> badCalls{
        {},       {"frobnicate"}, {"eval", "x"},      {"eval", "x", "1", "abc"}, {"eval", "x", "nan"},
        {"dump"}, {"build"},      {"check", "extra"}, {"check", "--verbose"},    {"eval", std::string(300, 'x'), "1"}};
    for (const std::vector<std::string>& call : badCalls) {
        ProgramResult run = runTracksTool(call);
        EXPECT_EQ(run.status, 2) << (call.empty() ? "(no arguments)" : call[0]);
        EXPECT_TRUE(contains(run.err, "demo-tracks: ")) << run.err;
    }
    EXPECT_EQ(runTracksTool({"eval", "absent", "1"}).status, 1);
    EXPECT_EQ(runTracksTool({"dump", "absent"}).status, 1);
}

}  // namespace
