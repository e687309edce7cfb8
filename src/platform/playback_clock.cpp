// Smooth, monotonic playback position from stepped or jittery device reports.
#include "platform/playback_clock.h"

#include <algorithm>
#include <ctime>

void startPlaybackClock(PlaybackClock* clock, double now, double startFrames) {
    clock->startFrames = startFrames;
    clock->anchorFrames = startFrames;
    clock->anchorTime = now;
    clock->lastTime = now;
    clock->lastFrames = startFrames;
    clock->heard = false;
}

namespace {

// Where a report moves the clock from its prediction.
double steer(PlaybackClock* clock, double now, double predicted, double reported) {
    if (!clock->heard) {
        if (reported < clock->startFrames) return clock->startFrames;  // not heard yet
        clock->heard = true;
        return reported;
    }
    double ahead = reported - predicted;
    if (ahead > clock->snapAhead * clock->rate) return reported;
    if (ahead > 0.0) {
        double allowed = clock->slewRate * (now - clock->lastTime) * clock->rate;
        return predicted + std::min(ahead, allowed);
    }
    double lead = -ahead;
    if (lead > clock->maxLead * clock->rate) return reported + clock->maxLead * clock->rate;
    return predicted;
}

}  // namespace

double playbackClockFrames(PlaybackClock* clock, double now, double reportedFrames, bool hasReport) {
    double predicted = clock->anchorFrames + (now - clock->anchorTime) * clock->rate;
    if (hasReport) predicted = steer(clock, now, predicted, reportedFrames);
    // Never backwards: a report that holds the clock back makes it stand still.
    predicted = std::max(predicted, clock->lastFrames);
    clock->anchorFrames = predicted;
    clock->anchorTime = now;
    clock->lastTime = now;
    clock->lastFrames = predicted;
    return predicted;
}

double monotonicSeconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}
