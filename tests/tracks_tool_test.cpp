// The demo-tracks tool, run for real in a scratch directory: build and dump round trips, check
// finds every kind of damage, eval prints values in nine digits, and bad arguments exit with 2.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "runtime/show_source.h"
#include "runtime/track_set.h"
#include "support/run_program.h"
#include "support/sync_files.h"
#include "sync/sync.h"
#include "sync/track_text.h"

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
    writeFileBytes("sync_fade[bg_white.track", oldBytes);
    std::string bigSource = "track fade:bg_white\n0 1\ntrack fade:fg_black\n";
    for (int row = 0; row < 200; ++row) bigSource += std::to_string(row) + " 1\n";
    writeFileBytes("big.txt", bigSource);  // fade:fg_black's file takes 1804 bytes
    // Files limited to one block (512 or 1024 bytes), SIGXFSZ ignored: the write fails as on a full disk.
    ProgramResult full = runTracksTool({"build", "big.txt"}, "trap '' XFSZ; ulimit -f 1; ");
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(contains(full.err, "track 'fade:fg_black': File too large; no track file was changed")) << full.err;
    EXPECT_EQ(readFileBytes("sync_fade[bg_white.track"), oldBytes);
    EXPECT_EQ(namesHere(), (std::set<std::string>{"big.txt", "sync_fade[bg_white.track"}));

    std::filesystem::create_directory("sync_fade[fg_noise.track");
    writeFileBytes("abc.txt", "track fade:bg_white\n0 1\ntrack fade:fg_black\n0 2\ntrack fade:fg_noise\n0 3\n");
    ProgramResult blocked = runTracksTool({"build", "abc.txt"});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_TRUE(contains(blocked.err, "track 'fade:fg_noise': Is a directory")) << blocked.err;
    EXPECT_EQ(readFileBytes("sync_fade[bg_white.track"), oldBytes);
    EXPECT_EQ(namesHere(),
              (std::set<std::string>{"abc.txt", "big.txt", "sync_fade[bg_white.track", "sync_fade[fg_noise.track"}));

    // A link planted where a temporary file might go is not written through.
    writeFileBytes("precious", "keep me");
    ASSERT_EQ(symlink("precious", "sync_fade[bg_white.track.tmp"), 0);
    writeFileBytes("one.txt", "track fade:bg_white\n0 1\n");
    ProgramResult build = runTracksTool({"build", "one.txt"});
    EXPECT_EQ(build.status, 0) << build.err;
    EXPECT_EQ(readFileBytes("precious"), "keep me");
    EXPECT_EQ(readFileBytes("sync_fade[bg_white.track"), trackFileBytes({{0, 1.0f, 0}}));
}

// The longest name a source allows still has room for its temporary file (the show's own names
// are far shorter; the writer serves any source).
TEST(TracksTool, TheLongestTrackNameStillHasRoomForItsTemporaryFile) {
    ScratchDirectory scratch;
    std::string longName(231, 'n');
    TrackSource source = parseTrackSource("track " + longName + "\n0 2\n");
    ASSERT_TRUE(source.errors.empty());
    TrackWriteOutcome outcome = writeSourceTracks(source);
    EXPECT_EQ(outcome.failedTrack, -1) << std::strerror(outcome.error);
    EXPECT_EQ(readFileBytes("sync_" + longName + ".track"), trackFileBytes({{0, 2.0f, 0}}));
}

// A build knows the show's 20 tracks: a name it does not have is an error naming the nearest one
// it has, and nothing is written; a show track left out is a warning, and the build goes on.
TEST(TracksTool, BuildRefusesTracksTheShowLacksAndWarnsOfTracksLeftOut) {
    ScratchDirectory scratch;
    writeFileBytes("typo.txt",
                   "track refrain:son\n0 1\ntrack features\n0 2\ntrack refrain:sun_spin\n0 1\n"
                   "track TUNNEL:MOVE\n0 1\n");
    ProgramResult typo = runTracksTool({"build", "typo.txt"});
    EXPECT_EQ(typo.status, 1);
    for (const char* line : {"typo.txt:1: the show has no track 'refrain:son'; did you mean 'refrain:sun'?",
                             "typo.txt:5: the show has no track 'refrain:sun_spin'; did you mean 'refrain:sun'?",
                             "typo.txt:7: the show has no track 'TUNNEL:MOVE'; did you mean 'tunnel:move'?"}) {
        EXPECT_TRUE(contains(typo.err, line)) << line << "\n" << typo.err;
    }
    EXPECT_TRUE(namesHere() == std::set<std::string>{"typo.txt"}) << "nothing is written";
    EXPECT_STREQ(nearestTrackName("fade:bg_whit"), "fade:bg_white");
    EXPECT_STREQ(nearestTrackName("polaroid_end"), "refrain:polaroid_end");
    EXPECT_STREQ(nearestTrackName(std::string(5000, 'x')), nearestTrackName(std::string(64, 'x')));

    std::string allButTwo;
    for (const char* name : trackNames) {
        if (std::string(name) != "features" && std::string(name) != "tunnel:move") {
            allButTwo += std::string("track ") + name + "\n0 1\n";
        }
    }
    writeFileBytes("show.txt", allButTwo);
    ProgramResult partial = runTracksTool({"build", "show.txt"});
    EXPECT_EQ(partial.status, 0) << partial.err;
    EXPECT_TRUE(contains(partial.err,
                         "show.txt: warning: the source leaves out 2 of the show's 20 tracks, which the "
                         "demo sees as 0 at every row: features, tunnel:move\n"))
        << partial.err;
    writeFileBytes("show.txt", allButTwo + "track features\n0 1\ntrack tunnel:move\n0 1\n");
    ProgramResult whole = runTracksTool({"build", "show.txt"});
    EXPECT_EQ(whole.status, 0) << whole.err;
    EXPECT_EQ(whole.err, "") << "a source with all 20 tracks builds without a word on standard error";
}

// A build removes the track files of an earlier build that its source no longer writes, as a
// clean build would not have them; anything else in the folder stays, whatever its name.
TEST(TracksTool, BuildRemovesTheTrackFilesItsSourceNoLongerWrites) {
    ScratchDirectory scratch;
    const std::string keys = trackFileBytes({{0, 4.0f, 0}});
    writeFileBytes("sync_refrain[son.track", keys);  // a misspelt name of an earlier build
    writeFileBytes("sync_features.track", keys);     // a show track the source left out
    writeFileBytes("sync_notes.track", "my notes, not keys");
    writeFileBytes("sync_empty.track", "");
    writeFileBytes("sync_long.track", keys + "x");
    writeFileBytes("sync_refrain[sun.track.tmp-abcdefgh", keys);
    writeFileBytes("refrain[son.track", keys);
    writeFileBytes("elsewhere.track", keys);
    std::filesystem::create_directory("sync_folder.track");
    std::filesystem::create_directory("sub");
    writeFileBytes("sub/sync_sub.track", keys);
    ASSERT_EQ(symlink("sync_features.track", "sync_link.track"), 0);
    writeFileBytes("show.txt", "track refrain:sun\n0 1\n");
    writeFileBytes("broken.txt", "track refrain:sun\n0 x\n");

    ProgramResult broken = runTracksTool({"build", "broken.txt"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(std::filesystem::exists("sync_refrain[son.track")) << "a build that fails removes nothing";

    ProgramResult build = runTracksTool({"build", "show.txt"});
    ASSERT_EQ(build.status, 0) << build.err;
    EXPECT_TRUE(contains(build.out, "removed sync_refrain[son.track, which the source no longer writes\n"))
        << build.out;
    EXPECT_TRUE(contains(build.out, "removed sync_features.track, which the source no longer writes\n")) << build.out;
    std::set<std::string> expected{"sync_refrain[sun.track",
                                   "sync_notes.track",
                                   "sync_empty.track",
                                   "sync_long.track",
                                   "sync_refrain[sun.track.tmp-abcdefgh",
                                   "refrain[son.track",
                                   "elsewhere.track",
                                   "sync_folder.track",
                                   "sub",
                                   "sync_link.track",
                                   "show.txt",
                                   "broken.txt"};
    EXPECT_EQ(namesHere(), expected);
    EXPECT_EQ(readFileBytes("sub/sync_sub.track"), keys);
    EXPECT_EQ(readFileBytes("sync_notes.track"), "my notes, not keys");
}

// The song's events say its tempo, beats a bar and length; a source that counts otherwise, or a
// song that ends before the show does, fails the build at the source's events line.
TEST(TracksTool, BuildFailsWhenTheSongsTempoOrLengthAndTheSourcesDisagree) {
    ScratchDirectory scratch;
    auto song = [](const char* tempo, const char* end) {
        writeFileBytes("song.events", std::string("# the song\ntempo ") + tempo +
                                          "\nbeats-per-bar 4\nstart-row 0\nend " + end + "\n0 12 beat\n0 0 kick\n");
    };
    const std::string body = "events song.events\ntrack features\n0 1\npulse kick 1 4\n";
    writeFileBytes("show.txt", "tempo 120\n" + body);
    song("120", "6720");
    ProgramResult fits = runTracksTool({"build", "show.txt"});
    EXPECT_EQ(fits.status, 0) << fits.err;

    song("126", "6400");
    ProgramResult faster = runTracksTool({"build", "show.txt"});
    EXPECT_EQ(faster.status, 1);
    EXPECT_TRUE(contains(faster.err,
                         "show.txt:2: the song (song.events) plays at 126 beats a minute, but this "
                         "source counts 120"))
        << faster.err;
    EXPECT_TRUE(contains(faster.err,
                         "show.txt:2: the song (song.events) ends at row 6400.0 (266.7 s), before the "
                         "show's end at row 6651"))
        << faster.err;
    writeFileBytes("show.txt", "tempo 126\n" + body);
    ProgramResult shortSong = runTracksTool({"build", "show.txt"});
    EXPECT_EQ(shortSong.status, 1);
    EXPECT_FALSE(contains(shortSong.err, "beats a minute")) << shortSong.err;
    EXPECT_TRUE(contains(shortSong.err, "ends at row 6400.0")) << shortSong.err;

    song("126", "6700");
    EXPECT_EQ(runTracksTool({"build", "show.txt"}).status, 0);
    writeFileBytes("show.txt", "tempo 126\nbeats-per-bar 3\n" + body);
    ProgramResult waltz = runTracksTool({"build", "show.txt"});
    EXPECT_EQ(waltz.status, 1);
    EXPECT_TRUE(contains(waltz.err, "show.txt:3: the song (song.events) has 4 beats a bar, but this source counts 3"))
        << waltz.err;
    writeFileBytes("show.txt", "tempo 126\nstart-row 24\n" + body);
    EXPECT_TRUE(contains(runTracksTool({"build", "show.txt"}).err, "the song's bar 1 starts at row 0"));
    writeFileBytes("song.events", "tempo 126\n0 12 beat\ntempo 120\n");
    EXPECT_TRUE(
        contains(runTracksTool({"build", "show.txt"}).err, "song.events:3: 'tempo' must come before the events"));
}

// Rows on the command line may be BAR:BEAT on the grid of the source named by --source, counted
// from 1 as the source writes them; what is not a position within the show is refused by name.
TEST(TracksTool, EvalAndDumpTakeBarBeatOnTheSourcesGrid) {
    ScratchDirectory scratch;
    writeFileBytes("show.txt", "tempo 90\nbeats-per-bar 3\ntrack features\n1:1 1 linear\n2:1 4\n3:2.5 9\n");
    ASSERT_EQ(runTracksTool({"build", "show.txt"}).status, 0);
    // At 90 beats a minute a beat is 16 rows, a bar of three 48: 2:1 is row 48, 3:2.5 row 120.
    ProgramResult eval = runTracksTool({"eval", "features", "1:1", "1:2.5", "24", "2:1", "--source", "show.txt"});
    ASSERT_EQ(eval.status, 0) << eval.err;
    EXPECT_EQ(eval.out, "1\n2.5\n2.5\n4\n");
    ProgramResult dump = runTracksTool({"dump", "features", "--source", "show.txt"});
    EXPECT_TRUE(contains(dump.out, "track features  # 3 keys\n       0  1               linear  # 1:1\n")) << dump.out;
    EXPECT_TRUE(contains(dump.out, "     120  9               step  # 3:2.50\n")) << dump.out;
    ProgramResult range = runTracksTool({"dump", "features", "2:1", "130", "--source", "show.txt"});
    EXPECT_TRUE(contains(range.out, "track features  # 2 keys\n      48  4")) << range.out;

    const struct {
        std::vector<std::string> call;
        const char* message;
    } refused[] = {
        {{"eval", "features", "0:1", "--source", "show.txt"}, "'0:1': bars count from 1"},
        {{"eval", "features", "1:4", "--source", "show.txt"}, "'1:4': a bar has beats 1 to 3"},
        {{"eval", "features", "1:3.99", "1:0.5", "--source", "show.txt"}, "'1:0.5': a bar has beats 1 to 3"},
        {{"eval", "features", "140:1", "--source", "show.txt"}, "'140:1' is row 6672.00, past the show's end"},
        {{"eval", "features", "1:x", "--source", "show.txt"}, "'1:x' is not BAR:BEAT"},
        {{"eval", "features", "-1:1", "--source", "show.txt"}, "'-1:1' is not BAR:BEAT"},
        {{"eval", "features", "1:1e1", "--source", "show.txt"}, "'1:1e1' is not BAR:BEAT"},
        {{"eval", "features", "::", "--source", "show.txt"}, "'::' is not BAR:BEAT"},
        {{"eval", "features", "2:1"}, "no tempo is known to count the bars with: name the choreography source"},
        {{"dump", "features", "1:1", "2:1", "3:1"}, "dump needs one track name, then FROM and TO if any"},
        {{"dump", "features", "2:1", "1:1", "--source", "show.txt"}, "dump's FROM must come before its TO"},
        {{"eval", "features", "1:1", "--source"}, "--source needs a file"},
    };
    for (const auto& call : refused) {
        ProgramResult run = runTracksTool(call.call);
        EXPECT_EQ(run.status, 2) << call.message;
        EXPECT_TRUE(contains(run.err, call.message)) << call.message << "\n" << run.err;
    }
    writeFileBytes("rows.txt", "track features\n0 1\n");
    ProgramResult noTempo = runTracksTool({"eval", "features", "2:1", "--source", "rows.txt"});
    EXPECT_TRUE(contains(noTempo.err, "rows.txt declares no tempo")) << noTempo.err;
    ProgramResult absent = runTracksTool({"eval", "features", "1", "--source", "absent.txt"});
    EXPECT_EQ(absent.status, 1);
    EXPECT_TRUE(contains(absent.err, "cannot read absent.txt")) << absent.err;
    EXPECT_EQ(runTracksTool({"check", "--source", "show.txt"}).status, 2) << "check takes no source";
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
