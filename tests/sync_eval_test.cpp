// Evaluating tracks: the four interpolations bit for bit, key lookup, rows outside the keys, values
// too far apart for a float, and keys that break the rising-row rule.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "support/sync_files.h"
#include "sync/sync.h"

namespace {

constexpr int32_t step = 0, linear = 1, smooth = 2, ramp = 3;
const double infinity = std::numeric_limits<double>::infinity();
const double notANumber = std::numeric_limits<double>::quiet_NaN();

SyncTrack trackOf(std::vector<TrackKey>& keys) {
    return SyncTrack{nullptr, keys.data(), static_cast<int32_t>(keys.size())};
}

float evaluate(std::vector<TrackKey> keys, double row) {
    SyncTrack track = trackOf(keys);
    return evaluateTrack(&track, row);
}

TEST(SyncEvaluate, WorkedExamplesBitForBit) {
    EXPECT_EQ(evaluate({{0, 0.0f, linear}, {10, 1.0f, linear}}, 2.5), 0.25f);
    EXPECT_EQ(evaluate({{0, 0.0f, smooth}, {10, 1.0f, linear}}, 5), 0.5f);
    EXPECT_EQ(evaluate({{0, 0.0f, smooth}, {10, 1.0f, linear}}, 2.5), 0.15625f);
    EXPECT_EQ(evaluate({{0, 0.0f, ramp}, {10, 1.0f, linear}}, 5), 0.25f);
    // The fraction of the row takes part: half a row past a key is already on the way.
    EXPECT_EQ(evaluate({{10, 0.0f, linear}, {14, 1.0f, linear}}, 10.5), 0.125f);
    // Rounded once from double with the value span in float: keys 0.1 and 0.3 at these rows, the
    // whole blend in float, or the value span in double as well, would land one unit lower.
    EXPECT_EQ(floatBits(evaluate({{0, 0.1f, linear}, {4, 0.3f, step}}, 1.75)), 0x3e400001u);
    EXPECT_EQ(floatBits(evaluate({{0, 0.1f, smooth}, {6, 0.3f, step}}, 3.5)), 0x3e6629b9u);
    EXPECT_EQ(floatBits(evaluate({{0, 0.1f, ramp}, {7, 0.3f, step}}, 3.25)), 0x3e128c05u);
}

// The track's value through the plain key search, its segment evaluated as a track of two keys.
float referenceEvaluate(std::vector<TrackKey>& keys, double row) {
    SyncTrack track = trackOf(keys);
    int k = findKeyIndex(&track, static_cast<int32_t>(std::floor(row)));
    if (k < 0) return keys.front().value;
    if (k >= track.keyCount - 1) return keys.back().value;
    return evaluate({keys[k], keys[k + 1]}, row);
}

TEST(SyncEvaluate, MatchesTheReferenceBitForBitAcrossALongTrack) {
    std::mt19937 random(20130901);
    std::uniform_int_distribution<int32_t> gap(1, 500), kind(-1, 4);
    std::uniform_real_distribution<float> value(-1000.0f, 1000.0f);
    std::vector<TrackKey> keys;
    for (int32_t i = 0, row = -100000; i < 3000; ++i, row += gap(random)) {
        keys.push_back({row, value(random), kind(random)});
    }
    SyncTrack track = trackOf(keys);
    std::uniform_real_distribution<double> anyRow(-100100.0, keys.back().row + 100.0);
    for (int i = 0; i < 50000; ++i) {
        double row = i % 2 ? anyRow(random) : keys[i % 3000].row + (i % 7) * 0.125;
        ASSERT_EQ(floatBits(evaluateTrack(&track, row)), floatBits(referenceEvaluate(keys, row))) << "row " << row;
    }
}

TEST(SyncEvaluate, StepsHoldAndUnknownKindsZeroTheirSegmentOnly) {
    std::vector<TrackKey> steps{{0, 3.0f, step}, {8, 5.0f, step}};
    EXPECT_EQ(evaluate(steps, std::nextafter(8.0, 0.0)), 3.0f);
    EXPECT_EQ(evaluate(steps, 8.0), 5.0f);
    for (int32_t kind : {4, -1}) {
        std::vector<TrackKey> keys{{0, 1.0f, linear}, {10, 2.0f, kind}, {20, 3.0f, linear}, {30, 4.0f, kind}};
        EXPECT_EQ(evaluate(keys, 5), 1.5f);
        EXPECT_EQ(evaluate(keys, 10), 0.0f);
        EXPECT_EQ(evaluate(keys, 19.75), 0.0f);
        EXPECT_EQ(evaluate(keys, 25), 3.5f);
        EXPECT_EQ(evaluate(keys, 1e7), 4.0f) << "nor on the last key";
    }
}

TEST(SyncEvaluate, RowsOutsideTheKeysGiveTheFirstOrLastValue) {
    for (double row : {-5.0, 3.5, infinity, notANumber}) {
        EXPECT_EQ(evaluate({}, row), 0.0f) << "an empty track is 0 at " << row;
        EXPECT_EQ(evaluate({{7, 2.5f, 4}}, row), 2.5f) << "a single key holds at " << row;
    }
    std::vector<TrackKey> keys{{INT32_MIN, -1.0f, linear}, {0, 5.0f, linear}, {INT32_MAX, 9.0f, linear}};
    for (double row : {-infinity, -1e300, -2147483648.5, notANumber}) EXPECT_EQ(evaluate(keys, row), -1.0f);
    for (double row : {infinity, 1e300, 2147483648.0, 2147483647.5}) EXPECT_EQ(evaluate(keys, row), 9.0f);
    // A segment spanning more than an int32 of rows divides by its true length.
    std::vector<TrackKey> wide{{INT32_MIN, 0.0f, linear}, {INT32_MAX, 1.0f, linear}};
    EXPECT_EQ(evaluate(wide, 0.0), static_cast<float>(2147483648.0 / 4294967295.0));
}

TEST(SyncEvaluate, ValuesTooFarApartForAFloatStillEvaluateBetweenTheirKeys) {
    const float low = -3.0e38f, high = 3.4e38f;  // their difference overflows a float
    for (int32_t kind : {linear, smooth, ramp}) {
        for (double row = 0; row <= 200; row += 0.25) {
            float value = evaluate({{0, low, kind}, {100, high, step}, {200, low, kind}}, row);
            ASSERT_TRUE(value >= low && value <= high) << "kind " << kind << ", row " << row;
        }
    }
    float middle = static_cast<float>((static_cast<double>(low) + high) / 2);
    EXPECT_EQ(evaluate({{0, low, linear}, {100, high, step}}, 50.0), middle);
}

TEST(SyncEvaluate, KeysOutOfOrderStayBetweenTheirValuesAndNeverDivideByZero) {
    // With every kind known and values in [0, 3], any row inside a segment gives a value in
    // [0, 3]: a row past a segment's end would extrapolate, one of no length would give NaN.
    std::mt19937 random(5);
    for (int trial = 0; trial < 2000; ++trial) {
        std::vector<TrackKey> keys(2 + random() % 9);
        for (TrackKey& key : keys) {
            key = {static_cast<int32_t>(random() % 12), static_cast<float>(random() % 4),
                   static_cast<int32_t>(random() % 4)};
        }
        for (double row = -2; row < 14; row += 0.25) {
            float value = evaluate(keys, row);
            ASSERT_TRUE(value >= 0.0f && value <= 3.0f) << "trial " << trial << " row " << row << ": " << value;
        }
    }
}

TEST(SyncEvaluate, FindKeyIndexGivesTheKeyAtOrBeforeARow) {
    std::vector<TrackKey> keys{{-5, 0, 0}, {0, 0, 0}, {7, 0, 0}, {100, 0, 0}};
    SyncTrack track = trackOf(keys);
    std::pair<int32_t, int> cases[] = {{INT32_MIN, -1}, {-6, -1}, {-5, 0}, {6, 1}, {7, 2}, {100, 3}, {INT32_MAX, 3}};
    for (auto [row, expected] : cases) EXPECT_EQ(findKeyIndex(&track, row), expected) << row;
    SyncTrack empty{nullptr, nullptr, 0};
    EXPECT_EQ(findKeyIndex(&empty, 0), -1);
}

}  // namespace
