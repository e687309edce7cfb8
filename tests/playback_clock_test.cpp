// The playback clock, fed with scripted device reports: smooth between stepped reports, steered
// gently by them, never backwards, and running on at real time without them.
#include "platform/playback_clock.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double rate = 44100.0;

PlaybackClock startedAt(double now) {
    PlaybackClock clock;
    startPlaybackClock(&clock, now);
    return clock;
}

// Polls the clock once per millisecond from `from` to `to` seconds after `origin` with the
// reports a device gives; checks it never goes backwards and returns the last position.
template <typename Report>
double pollEveryMs(PlaybackClock* clock, double origin, int fromMs, int toMs, Report report) {
    double previous = clock->lastFrames;
    for (int ms = fromMs; ms <= toMs; ++ms) {
        double elapsed = ms * 0.001;
        double frames = playbackClockFrames(clock, origin + elapsed, report(elapsed), true);
        EXPECT_GE(frames, previous) << "at " << ms << " ms";
        previous = frames;
    }
    return previous;
}

}  // namespace

TEST(PlaybackClock, RunsSmoothlyBetweenReportsThatStepEvery23Ms) {
    PlaybackClock clock = startedAt(100.0);
    const double mixerStep = 0.0232;
    double previous = -1.0;
    int distinct = 0;
    for (int ms = 0; ms <= 2000; ++ms) {
        double elapsed = ms * 0.001;
        // The device reports the frame heard as of its last mixer update.
        double report = std::floor(elapsed / mixerStep) * mixerStep * rate;
        double frames = playbackClockFrames(&clock, 100.0 + elapsed, report, true);
        ASSERT_GE(frames, previous);
        EXPECT_NEAR(frames, elapsed * rate, 0.0005 * rate) << "at " << ms << " ms";
        if (frames != previous) ++distinct;
        previous = frames;
    }
    EXPECT_EQ(distinct, 2001);  // a new position every millisecond, not every mixer step
}

TEST(PlaybackClock, ShrugsOffASingleNoisyReport) {
    PlaybackClock clock = startedAt(0.0);
    auto truth = [](double elapsed) { return elapsed * rate; };
    pollEveryMs(&clock, 0.0, 0, 500, truth);
    // One report 20 ms ahead among accurate ones moves the clock by a sliver, not by 20 ms.
    double jumped = playbackClockFrames(&clock, 0.501, truth(0.521), true);
    EXPECT_NEAR(jumped, truth(0.501), 0.0002 * rate);
    double settled = pollEveryMs(&clock, 0.0, 502, 1000, truth);
    EXPECT_NEAR(settled, truth(1.0), 0.0002 * rate);
}

TEST(PlaybackClock, CatchesUpWithADeviceThatRunsAhead) {
    PlaybackClock clock = startedAt(0.0);
    pollEveryMs(&clock, 0.0, 0, 100, [](double elapsed) { return elapsed * rate; });
    // From here on the device is 30 ms further than the clock: the clock runs a little fast
    // until it has caught up, without a jump.
    auto ahead = [](double elapsed) { return (elapsed + 0.030) * rate; };
    double caughtUp = pollEveryMs(&clock, 0.0, 101, 1500, ahead);
    EXPECT_NEAR(caughtUp, ahead(1.5), 0.0005 * rate);
    // A report far ahead (after a long stall, say) is taken at once.
    EXPECT_NEAR(playbackClockFrames(&clock, 1.501, ahead(1.501) + 0.5 * rate, true), ahead(1.501) + 0.5 * rate, 1e-6);
}

TEST(PlaybackClock, WaitsForAStalledDeviceWithoutGoingBackwards) {
    PlaybackClock clock = startedAt(0.0);
    pollEveryMs(&clock, 0.0, 0, 1000, [](double elapsed) { return elapsed * rate; });
    // The device stalls at 1 s: the clock leads it by maxLead at most, then stands still.
    double held = pollEveryMs(&clock, 0.0, 1001, 1500, [](double) { return 1.0 * rate; });
    EXPECT_LE(held, (1.0 + clock.maxLead) * rate + 1e-6);
    EXPECT_GE(held, 1.0 * rate);
    // The device moves on, and so does the clock, from where it stood.
    double resumed = pollEveryMs(&clock, 0.0, 1501, 1600, [](double elapsed) { return (elapsed - 0.5) * rate; });
    EXPECT_GT(resumed, held);
}

TEST(PlaybackClock, StartsWhenTheFirstFrameIsHeard) {
    PlaybackClock clock = startedAt(5.0);
    const double latency = 0.047;
    auto report = [&](double elapsed) { return (elapsed - latency) * rate; };
    for (int ms = 0; ms < 47; ms += 2) {
        EXPECT_EQ(playbackClockFrames(&clock, 5.0 + ms * 0.001, report(ms * 0.001), true), 0.0) << ms << " ms";
    }
    double later = pollEveryMs(&clock, 5.0, 47, 300, report);
    EXPECT_NEAR(later, report(0.3), 0.0002 * rate);
}

TEST(PlaybackClock, RunsOnAtRealTimeWithoutReports) {
    PlaybackClock clock = startedAt(10.0);
    EXPECT_NEAR(playbackClockFrames(&clock, 10.5, 0.0, false), 0.5 * rate, 1e-6);
    EXPECT_NEAR(playbackClockFrames(&clock, 11.0, 1.0 * rate, true), rate, 1e-6);
    // The song has ended: no more reports, the position keeps advancing.
    EXPECT_NEAR(playbackClockFrames(&clock, 12.0, 0.0, false), 2.0 * rate, 1e-6);
    EXPECT_NEAR(playbackClockFrames(&clock, 300.0, 0.0, false), 290.0 * rate, 1e-3);
}

TEST(PlaybackClock, StandsStillWhenTheDevicesReportJumpsBackAndMovesOnOnceItCatchesUp) {
    PlaybackClock clock = startedAt(0.0);
    double reached = pollEveryMs(&clock, 0.0, 0, 1000, [](double elapsed) { return elapsed * rate; });
    // The device is reset at 1 s and reports from 0.8 s again, 200 ms back: the clock holds the
    // frame it reached (it is never heard twice) instead of following the report back.
    auto reset = [](double elapsed) { return (elapsed - 0.2) * rate; };
    EXPECT_EQ(playbackClockFrames(&clock, 1.001, reset(1.001), true), reached);
    double held = pollEveryMs(&clock, 0.0, 1002, 1150, reset);
    EXPECT_EQ(held, reached);
    // Once the report is back within maxLead of the frame reached, the clock moves on with it.
    double resumed = pollEveryMs(&clock, 0.0, 1151, 1400, reset);
    EXPECT_GT(resumed, reached);
    EXPECT_NEAR(resumed, reset(1.4) + clock.maxLead * rate, 0.001 * rate);
}
