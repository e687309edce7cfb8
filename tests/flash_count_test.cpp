// Counting flashes in luminance series written by hand: which changes count, and the one-second
// window the flashes are counted in, on its edges.
#include "offline/lint_flash_count.h"

#include <gtest/gtest.h>

#include <vector>

TEST(LuminanceChanges, CountChangesOfATenthWhoseDarkerEndIsBelowFourFifths) {
    // Up at frame 2, down at frame 4 (the last leg counts once it has moved a tenth).
    EXPECT_EQ(luminanceChanges({0.0f, 0.0f, 0.5f, 0.5f, 0.0f}), (std::vector<int>{2, 4}));
    // A leg is counted where it first reaches its extreme, however long it then stays there.
    EXPECT_EQ(luminanceChanges({0.2f, 0.3f, 0.6f, 0.6f, 0.6f, 0.4f, 0.1f}), (std::vector<int>{2, 6}));
    // A tenth is a change; less is not.
    EXPECT_EQ(luminanceChanges({0.5f, 0.6f, 0.5f}), (std::vector<int>{1, 2}));
    EXPECT_TRUE(luminanceChanges({0.5f, 0.59f, 0.5f, 0.59f}).empty());
    // Between 0.8 and white nothing counts; from just below 0.8 it does.
    EXPECT_TRUE(luminanceChanges({0.8f, 1.0f, 0.8f, 1.0f}).empty());
    EXPECT_EQ(luminanceChanges({0.79f, 1.0f, 0.79f}), (std::vector<int>{1, 2}));
    EXPECT_TRUE(luminanceChanges({}).empty());
    EXPECT_TRUE(luminanceChanges({0.3f}).empty());
}

TEST(FlashesInASecond, CountPairsOfChangesInTheSecondEndingAtEachFrame) {
    // Two changes 23 frames apart fall in one second of 24 frames: one flash, at the frame of
    // the second change only.
    std::vector<int> within = flashesInSecondEndingAt({0, 23}, 30, 24);
    std::vector<int> expected(30, 0);
    expected[23] = 1;
    EXPECT_EQ(within, expected);
    // 24 frames apart they are more than a second apart: never a flash.
    EXPECT_EQ(flashesInSecondEndingAt({0, 24}, 30, 24), std::vector<int>(30, 0));
    EXPECT_EQ(flashesInSecondEndingAt({5, 29}, 30, 24), std::vector<int>(30, 0));
    // Five changes in a second are two flashes; the count falls as the oldest leave the window.
    EXPECT_EQ(flashesInSecondEndingAt({1, 2, 3, 4, 5}, 28, 24),
              (std::vector<int>{0, 0, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1}));
    EXPECT_TRUE(flashesInSecondEndingAt({0, 1}, 0, 24).empty());
    EXPECT_TRUE(flashesInSecondEndingAt({0, 1}, -3, 24).empty());
}
