// Loudness and peaks of the finished song, measured with libebur128: integrated loudness after
// ITU-R BS.1770 (K-weighted, gated, in LUFS), the loudness range after EBU Tech 3342 (in LU), the
// true peak (oversampled, in dBTP); a look-ahead peak limiter, and the mastering that brings the
// song to its target loudness under its peak ceiling.
#pragma once

#include <vector>

// Integrated loudness of interleaved stereo samples at 44100 Hz, in LUFS (-70 or below for
// silence).
double integratedLoudness(const std::vector<float>& stereo);

// How far the song's loudness moves (EBU Tech 3342): the spread of its short-term (3 s)
// loudness between the 10th and the 95th percentile, in LU, once silence and the blocks more
// than 20 LU under the mean are set aside.
double loudnessRange(const std::vector<float>& stereo);

// The RMS level (dBFS, both sides together) of everything from `seconds` on; -HUGE_VAL for
// digital silence or nothing at all.
double levelAfterDb(const std::vector<float>& stereo, double seconds);

// The highest absolute value of the signal oversampled 4 times, in dB relative to full scale.
double truePeakDb(const std::vector<float>& stereo);

// Keeps the wave within the ceiling (dB, between samples too) by smooth gain reduction that
// starts a little before each peak; the two sides are reduced together.
void limitPeaks(std::vector<float>& stereo, double ceilingDb);

struct MasteringReport {
    double loudnessBefore;  // LUFS of the raw mix
    double gainDb;          // gain applied before the limiter
    double loudness;        // LUFS after mastering
    double truePeak;        // dBTP after mastering
    int passes;             // how many times gain and limiter were tried
    double loudnessRange;   // LU after mastering
};

// Scales and limits the mix so that it measures targetLufs (within 0.1 LU) with a true peak at
// or below truePeakLimitDb.
MasteringReport masterSong(std::vector<float>& stereo, double targetLufs, double truePeakLimitDb);
