// The preview's transport as arithmetic: times read as rows, seconds or BAR:BEAT on a source's
// grid, moves by beats and bars that land on the grid, and four-bar loops.
#include "base/show_facts.h"
#include "preview/hud.h"
#include "preview/transport.h"

#include <gtest/gtest.h>

namespace {

// 120 beats a minute, four a bar, bar 1 at row 24: a beat is 12 rows, a bar 48.
const MusicalGrid grid = {true, 120.0, 4, 24.0};
// 90 beats a minute, three a bar: a beat is 16 rows.
const MusicalGrid waltz = {true, 90.0, 3, 0.0};

double timeOf(const char* text, const MusicalGrid& on = grid) {
    double row = -1.0;
    return parseShowTime(text, on, rowLimit, &row) ? row : -1.0;
}

}  // namespace

TEST(ShowTime, ReadsRowsSecondsAndBarsAndBeats) {
    EXPECT_EQ(timeOf("1200"), 1200.0);
    EXPECT_EQ(timeOf("12.5"), 12.5);
    EXPECT_EQ(timeOf("50s"), 1200.0);
    EXPECT_EQ(timeOf("1:1"), 24.0);
    EXPECT_EQ(timeOf("26:1"), 24.0 + 25 * 48);
    EXPECT_EQ(timeOf("2:2.5"), 24.0 + 48 + 18);
    EXPECT_EQ(timeOf("2:3", waltz), 48.0 + 32);
    for (const char* bad : {"", "s", ".", "-1", "+5", "1e3", "inf", "nan", "12x", "1:0", "0:1", "1:5", "1.5:1",
                            "2:", ":2", "1:1:1", "6652", "300s", "2:3.5s"}) {
        EXPECT_EQ(timeOf(bad), -1.0) << bad;
    }
    EXPECT_EQ(timeOf("3:1", MusicalGrid{}), -1.0) << "bars need a known grid";
    EXPECT_EQ(timeOf("1:4", waltz), -1.0) << "a waltz has three beats";
}

TEST(Transport, MovesLandOnBeatsAndBarsWithinTheShow) {
    EXPECT_EQ(moveByBeats(grid, 1200, 1), 1212.0);
    EXPECT_EQ(moveByBeats(grid, 1200, -1), 1188.0);
    EXPECT_EQ(moveByBeats(grid, 1205, 1), 1212.0) << "between beats: the next beat";
    EXPECT_EQ(moveByBeats(grid, 1205, -1), 1200.0) << "between beats: the beat before";
    EXPECT_EQ(moveByBars(grid, 1200, 1), 1224.0) << "bars count from bar 1 at row 24";
    EXPECT_EQ(moveByBars(grid, 1224, -8), 1224.0 - 8 * 48);
    EXPECT_EQ(moveByBeats(waltz, 40, 1), 48.0);
    EXPECT_EQ(moveByBars(waltz, 40, 1), 48.0);
    EXPECT_EQ(moveByBars(grid, 30, -8), 0.0) << "never before the start";
    EXPECT_EQ(moveByBars(grid, 6640, 8), double(rowLimit)) << "never past the end";
    // A row reached through a decimal time counts as on its beat.
    EXPECT_EQ(moveByBeats(grid, 1212.0000000001, -1), 1200.0);
}

TEST(Transport, LoopsTheFourBarsPlayingAndWrapsRowsPastTheirEnd) {
    Transport transport;
    transport.row = 24.0 + 5 * 48 + 7;  // in bar 6: the phrase of bars 5-8
    toggleLoop(grid, &transport);
    ASSERT_TRUE(transport.looping);
    EXPECT_EQ(transport.loopStart, 24.0 + 4 * 48);
    EXPECT_EQ(transport.loopEnd, 24.0 + 8 * 48);
    EXPECT_EQ(wrapIntoLoop(transport, transport.loopEnd - 1), transport.loopEnd - 1);
    EXPECT_EQ(wrapIntoLoop(transport, transport.loopEnd), transport.loopStart) << "its end is its start again";
    EXPECT_EQ(wrapIntoLoop(transport, transport.loopEnd + 5), transport.loopStart + 5);
    EXPECT_EQ(wrapIntoLoop(transport, transport.loopEnd + 4 * 48 + 2), transport.loopStart + 2);
    toggleLoop(grid, &transport);
    EXPECT_FALSE(transport.looping);
    EXPECT_EQ(wrapIntoLoop(transport, 5000.0), 5000.0);
}

TEST(Hud, StatusLineSaysWhereThePlayHeadIsAndWhatItDoes) {
    Transport transport;
    transport.row = 1200.0;
    EXPECT_EQ(hudStatusLine(transport, grid, 14.04), "row 1200.00  25:3  50.000 s  14.0 fps");
    transport.paused = true;
    toggleLoop(grid, &transport);
    EXPECT_EQ(hudStatusLine(transport, grid, 0.0), "row 1200.00  25:3  50.000 s  0.0 fps  paused  loop 25:1-29:1");
}
