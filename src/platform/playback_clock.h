// The clock behind a channel's position: which frame of the song is being heard now.
//
// The output device reports the frame being heard only as of its last mixer update, so its
// report moves in steps (23 ms on some devices), lags by up to one step, and jitters on others.
// This clock runs on the monotonic clock between reports and is steered by them:
// - it starts at a given frame (0 for the start of the song, or where playback was moved to) and
//   holds that frame until the device first reports it heard (before that it is still on its way
//   through the output's latency);
// - a report ahead of it (a report is a lower bound of the true position when it only lags) pulls
//   it forward gently, at most slewRate faster than real time, so one noisy report moves it little;
//   a report more than snapAhead ahead moves it there at once;
// - a report more than maxLead behind it (the device stalled or runs slow) makes it stand still;
// - it never goes backwards. Without reports (silent output, or the song has ended) it simply
//   runs at real time from where it is.
#pragma once

struct PlaybackClock {
    double rate = 44100.0;      // frames per second
    double maxLead = 0.040;     // seconds the clock may run ahead of the last report
    double snapAhead = 0.100;   // a report this far ahead is taken at once
    double slewRate = 0.05;     // catching up, the clock runs at most 5 % fast
    double startFrames = 0.0;   // the frame playback started from
    double anchorFrames = 0.0;  // position at anchorTime
    double anchorTime = 0.0;    // monotonic seconds
    double lastTime = 0.0;      // when the clock was last read
    double lastFrames = 0.0;    // the last position returned
    bool heard = false;         // the device has reported the starting frame heard
};

// Starts the clock at the given frame at monotonic time now.
void startPlaybackClock(PlaybackClock* clock, double now, double startFrames = 0.0);

// The position at monotonic time now, in frames. reportedFrames is the device's report of the
// frame being heard (latency already taken off); hasReport is false when there is none.
double playbackClockFrames(PlaybackClock* clock, double now, double reportedFrames, bool hasReport);

// Seconds on the monotonic clock.
double monotonicSeconds();
