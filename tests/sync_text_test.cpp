// The text source of track files: what it means, the errors it reports, and printing keys so
// that they read back to the very same bits.
#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

#include "support/sync_files.h"
#include "sync/musical_grid.h"
#include "sync/track_text.h"

namespace {

// Key lines on rows 0, 1, 2 and on.
std::string risingKeys(int count) {
    std::string lines;
    for (int row = 0; row < count; ++row) lines += std::to_string(row) + " 0\n";
    return lines;
}

TEST(SyncText, ReadsRowsMusicalTimesKindsAndComments) {
    TrackSource source = parseTrackSource(
        "# a comment line\n"
        "tempo 120            # 12 rows a beat\n"
        "beats-per-bar 3\n"
        "start-row 100\n"
        "track fade:bg_white  # trailing comment\n"
        "  -4     1       linear\n"
        "1:1      0.5     smooth\r\n"
        "2:1.5    -2      ramp\n"
        "\t2:3    bits:7FC00001  7\n"
        "\n"
        "200      3\n"
        "tempo 125            # 11.52 rows a beat\n"
        "track b\n"
        "1:2      1e-3    2\n"
        "1:2.5    0       -128\n");
    ASSERT_TRUE(source.errors.empty()) << source.errors[0].line << ": " << source.errors[0].message;
    ASSERT_EQ(source.tracks.size(), 2u);
    EXPECT_EQ(source.tracks[0].name, "fade:bg_white");
    EXPECT_EQ(source.tracks[0].line, 5);
    EXPECT_EQ(
        source.tracks[0].keys,
        (std::vector<TrackKey>{
            {-4, 1.0f, 1}, {100, 0.5f, 2}, {142, -2.0f, 3}, {160, floatFromBits(0x7fc00001), 7}, {200, 3.0f, 0}}));
    // 111.52 and 117.28 rows go to the nearest rows.
    EXPECT_EQ(source.tracks[1].keys, (std::vector<TrackKey>{{112, 1e-3f, 2}, {117, 0.0f, -128}}));
}

TEST(SyncText, ErrorsNameTheLineAndSayWhatIsWrong) {
    struct Case {
        std::string text;
        int line;
        std::string says;
    };
    const Case cases[] = {
        {"tempo 120\ntrack a\n1:5 0\n", 3, "a bar has 4"},
        {"tempo 120\ntrack a\n0:1 0\n", 3, "bars count from 1"},
        {"tempo 120\ntrack a\n1:x 0\n", 3, "is not BAR:BEAT"},
        {"tempo 0.001\ntrack a\n1000:1 0\n", 3, "outside the rows"},
        {"track a\n5 0\n\n5 1\n", 4, "not after the previous key at row 5 (line 2)"},
        {"track a\n2.5 0\n", 2, "row '2.5' is not a whole number"},
        {"track a\n3000000000 0\n", 2, "row '3000000000' is not a whole number"},
        {"track a\n0 abc\n", 2, "value 'abc' is not a number"},
        {"track a\n0 1e39\n", 2, "too large for a 32-bit float"},
        {"track a\n0 nan\n", 2, "not a finite number"},
        {"track a\n0 bits:12\n", 2, "8 hex digits"},
        {"track a\n0 1 step extra\n", 2, "unexpected 'extra'"},
        {"track a\n0\n", 2, "needs a value"},
        {"0 1\n", 1, "key before any 'track' line"},
        {"tack a\n", 1, "unknown word 'tack'"},
        {"track a\ntrack a\n", 2, "already started at line 1"},
        {"track a:b\ntrack a[b\n", 2, "same file, sync_a[b.track"},
        {"track a/b\n", 1, "character a file name cannot"},
        {"track " + std::string(232, 'n') + "\n", 1, "too long for a file name (at most 231"},
        {"track a\n0 -3e38 linear\n100 3e38\n", 3, "linear segment spans more than a 32-bit"},
        {"track a\n0 -3.4e38 ramp\n1 1e38\n", 3, "ramp segment spans more than a 32-bit"},
        {"track a\n" + risingKeys(1000001), 1000002, "a track holds at most 1000000 keys"},
        {"track a\n0 " + std::string(1000000, 'x') + "\n", 2,
         "value '" + std::string(40, 'x') + "...' is not a number"},
        {"track a\n0 \x1b[2J\n", 2, "value '?[2J' is not a number"},
        {"track\n", 1, "exactly one name"},
        {"tempo -1\n", 1, "not a positive number"},
        {"beats-per-bar 0\n", 1, "at least 1"},
        {"start-row 1.5\n", 1, "not a whole row"},
    };
    for (const Case& c : cases) {
        std::string text = c.text.substr(0, 200);
        TrackSource source = parseTrackSource(c.text);
        ASSERT_EQ(source.errors.size(), 1u) << text;
        EXPECT_EQ(source.errors[0].line, c.line) << text;
        EXPECT_NE(source.errors[0].message.find(c.says), std::string::npos)
            << text << "gave: " << source.errors[0].message.substr(0, 200);
        EXPECT_LE(source.errors[0].message.size(), 160u) << "whatever the words' length";
    }
    // A step does not interpolate, and a name of 231 characters makes file names of 255.
    EXPECT_TRUE(parseTrackSource("track a\n0 -3e38 step\n100 3e38 linear\n").errors.empty());
    EXPECT_TRUE(parseTrackSource("track " + std::string(231, 'n') + "\n").errors.empty());
}

TEST(SyncText, ReportsEveryErrorButNotTheKeysOfARefusedTrack) {
    TrackSource source = parseTrackSource("track a/b\n0 1\n1 2\ntrack c\n0 x\n1 y\n");
    ASSERT_EQ(source.errors.size(), 3u);
    EXPECT_EQ(source.errors[1].line, 5);
    EXPECT_EQ(source.errors[2].line, 6);
    std::string manyErrors;
    for (int i = 0; i < 500; ++i) manyErrors += "oops\n";
    EXPECT_EQ(parseTrackSource(manyErrors).errors.size(), static_cast<size_t>(maxSourceErrors) + 1);
}

TEST(SyncText, PrintedKeysReadBackToTheSameBits) {
    const float infinity = std::numeric_limits<float>::infinity();
    std::vector<TrackKey> keys{{INT32_MIN, -0.0f, -128}, {-1, 0.1f, 0},
                               {0, 1e-45f, 1},           {1, std::numeric_limits<float>::max(), 2},
                               {2, -infinity, 3},        {3, floatFromBits(0xffc0beef), 127}};
    std::mt19937 random(7);
    for (int32_t row = 10; row < 20000; ++row) {
        float value = floatFromBits(static_cast<uint32_t>(random()));
        keys.push_back({row, value, static_cast<int32_t>(random() % 256) - 128});
    }
    keys.push_back({INT32_MAX, 16777216.0f, 5});
    std::string text = formatTrackSource("tunnel:move", keys.data(), static_cast<int32_t>(keys.size()));
    TrackSource source = parseTrackSource(text);
    ASSERT_TRUE(source.errors.empty()) << source.errors[0].line << ": " << source.errors[0].message;
    ASSERT_EQ(source.tracks.size(), 1u);
    EXPECT_EQ(source.tracks[0].name, "tunnel:move");
    EXPECT_EQ(source.tracks[0].keys, keys);
    // People read these: the shortest decimal that reads back, and kinds by name.
    EXPECT_NE(text.find("      -1  0.1             step\n"), std::string::npos) << text.substr(0, 300);
    EXPECT_EQ(text.find("0.100000001"), std::string::npos);
}

}  // namespace

TEST(SyncText, TheSourcesGridNamesRowsAsBarsAndBeats) {
    MusicalGrid grid = readMusicalGrid("# a waltz\ntempo 90 # slow\nbeats-per-bar 3\nstart-row 48\ntrack a\n0 1\n");
    ASSERT_TRUE(grid.known);
    // At 90 beats a minute a beat is 16 rows; bar 1 starts at row 48.
    EXPECT_EQ(barBeatText(grid, 48), "1:1");
    EXPECT_EQ(barBeatText(grid, 96), "2:1");
    EXPECT_EQ(barBeatText(grid, 104), "2:1.50");
    EXPECT_EQ(barBeatText(grid, 47), "") << "before bar 1";
    EXPECT_FALSE(readMusicalGrid("beats-per-bar 4\n").known) << "no tempo, no bars";
    EXPECT_FALSE(readMusicalGrid("tempo 120\nbeats-per-bar 0\n").known);
}

TEST(SyncText, BarBeatPositionsAreReadTheOneWayOnTheGrid) {
    // 120 beats a minute (12 rows a beat), three a bar, bar 1 at row 24.
    const MusicalGrid grid = {true, 120.0, 3, 24.0};
    struct Case {
        const char* word;
        BarBeatProblem problem;
        double row;
    };
    const Case cases[] = {
        {"1:1", BarBeatProblem::none, 24},
        {"2:1.5", BarBeatProblem::none, 24 + 36 + 6},
        {"02:3.", BarBeatProblem::none, 24 + 36 + 24},
        {"1:3.999", BarBeatProblem::none, 24 + 2.999 * 12},
        {"0:1", BarBeatProblem::barBeforeFirst, 0},
        {"1:0.5", BarBeatProblem::beatOutsideBar, 0},
        {"1:4", BarBeatProblem::beatOutsideBar, 0},
    };
    for (const Case& c : cases) {
        double row = -1;
        EXPECT_EQ(parseBarBeat(c.word, grid, &row), c.problem) << c.word;
        if (c.problem == BarBeatProblem::none) {
            EXPECT_DOUBLE_EQ(row, c.row) << c.word;
        }
    }
    // Digits, a colon and a plain decimal only: no signs, exponents, spaces or second colons.
    const std::string tooLong = std::string(400, '9') + ":1";
    for (const std::string& bad :
         std::vector<std::string>{"", ":", "1", "1:", ":1", "+1:1", "-1:1", "1.0:1", "1:+1", "1:1e0", "1: 1", " 1:1",
                                  "1:1:1", "1:.", "x:1", "1:0x1", tooLong}) {
        double row = -1;
        EXPECT_EQ(parseBarBeat(bad, grid, &row), BarBeatProblem::notBarBeat) << bad;
        EXPECT_EQ(row, -1) << bad;
    }
    double row = -1;
    EXPECT_EQ(parseBarBeat("1:1", MusicalGrid{}, &row), BarBeatProblem::noTempo);
    EXPECT_EQ(parseBarBeat("99999999999:1", grid, &row), BarBeatProblem::none) << "the row is the reader's to bound";
    EXPECT_TRUE(parseTrackSource("tempo 120\ntrack a\n1:1 0\n").errors.empty());
    TrackSource far = parseTrackSource("tempo 120\ntrack a\n99999999999:1 0\n");
    ASSERT_EQ(far.errors.size(), 1u);
    EXPECT_NE(far.errors[0].message.find("outside the rows"), std::string::npos) << far.errors[0].message;
}

TEST(SyncText, TheSourceAndItsGridAcceptTheSameDeclarations) {
    struct Case {
        const char* declaration;
        bool good;
    };
    const Case cases[] = {
        {"tempo 120", true},           {"tempo 0.5", true},          {"tempo 1e2", true},
        {"tempo 10000", true},         {"tempo 10000.5", false},     {"tempo 0", false},
        {"tempo -1", false},           {"tempo nan", false},         {"tempo inf", false},
        {"tempo 1e400", false},        {"tempo 120bpm", false},      {"tempo 120 130", false},
        {"beats-per-bar 1", true},     {"beats-per-bar 64", true},   {"beats-per-bar 65", false},
        {"beats-per-bar 0", false},    {"beats-per-bar 4.0", false}, {"start-row 0", true},
        {"start-row 999999999", true}, {"start-row -1", false},      {"start-row 1000000000", false},
        {"start-row 1.5", false},
    };
    for (const Case& c : cases) {
        std::string tempo = std::string(c.declaration).rfind("tempo", 0) == 0 ? "" : "tempo 120\n";
        std::string source = tempo + c.declaration + "\ntrack a\n1:1 0\n";
        EXPECT_EQ(parseTrackSource(source).errors.empty(), c.good) << c.declaration;
        EXPECT_EQ(readMusicalGrid(source).known, c.good) << c.declaration;
    }
}
