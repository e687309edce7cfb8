// Loudness and loudness-range measurement, true-peak measurement, limiting and mastering of the
// song.
#include "song_loudness.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "song_arrange.h"

namespace {

struct Biquad {
    double b0, b1, b2, a1, a2;
};

// The two stages of the K-weighting: a high shelf (+4 dB above about 1.7 kHz) and a high-pass
// (about 38 Hz), their coefficients worked out for the sample rate.
void kWeighting(double rate, Biquad* shelf, Biquad* highPass) {
    double f0 = 1681.974450955533;
    double gain = 3.999843853973347;
    double q = 0.7071752369554196;
    double k = std::tan(M_PI * f0 / rate);
    double vh = std::pow(10.0, gain / 20.0);
    double vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1.0 + k / q + k * k;
    *shelf = Biquad{(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
                    2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
    f0 = 38.13547087602444;
    q = 0.5003270373238773;
    k = std::tan(M_PI * f0 / rate);
    a0 = 1.0 + k / q + k * k;
    *highPass = Biquad{1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

struct BiquadState {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

double runBiquad(const Biquad& f, BiquadState& s, double x) {
    double y = f.b0 * x + f.b1 * s.x1 + f.b2 * s.x2 - f.a1 * s.y1 - f.a2 * s.y2;
    s.x2 = s.x1;
    s.x1 = x;
    s.y2 = s.y1;
    s.y1 = y;
    return y;
}

double loudnessOf(double meanSquare) { return meanSquare > 0 ? -0.691 + 10.0 * std::log10(meanSquare) : -1000.0; }

// The K-weighted power of every 100 ms of the signal, the two sides added.
std::vector<double> hopPowers(const std::vector<float>& stereo) {
    Biquad shelf;
    Biquad highPass;
    kWeighting(songRate, &shelf, &highPass);
    size_t frames = stereo.size() / 2;
    const size_t hop = songRate / 10;
    std::vector<double> powers;
    BiquadState states[2][2];
    double energy = 0;
    for (size_t i = 0; i < frames; ++i) {
        for (int c = 0; c < 2; ++c) {
            double y = runBiquad(highPass, states[c][1], runBiquad(shelf, states[c][0], stereo[2 * i + size_t(c)]));
            energy += y * y;
        }
        if ((i + 1) % hop == 0) {
            powers.push_back(energy / double(hop));
            energy = 0;
        }
    }
    return powers;
}

// The mean power of every run of `length` consecutive hops: one block starting at each hop.
std::vector<double> blockPowers(const std::vector<double>& hops, size_t length) {
    std::vector<double> blocks;
    double sum = 0;
    for (size_t i = 0; i < hops.size(); ++i) {
        sum += hops[i];
        if (i >= length) sum -= hops[i - length];
        if (i + 1 >= length) blocks.push_back(std::fmax(0.0, sum) / double(length));
    }
    return blocks;
}

// The blocks that pass the absolute gate (-70 LUFS) and then the relative one (`relative` LU
// under the loudness of the mean power of those that passed the first).
std::vector<double> gatedBlocks(const std::vector<double>& blocks, double relative) {
    std::vector<double> loud;
    double sum = 0;
    for (double block : blocks) {
        if (loudnessOf(block) <= -70.0) continue;
        loud.push_back(block);
        sum += block;
    }
    if (loud.empty()) return loud;
    double gate = loudnessOf(sum / double(loud.size())) - relative;
    std::vector<double> kept;
    for (double block : loud) {
        if (loudnessOf(block) > gate) kept.push_back(block);
    }
    return kept;
}

// The wave between samples, at a quarter, a half and three quarters of the way to the next
// sample, from 12 neighbours each (a windowed sinc): 4x oversampling.
constexpr int oversampling = 4;
constexpr int reach = 6;  // neighbours on each side

struct Interpolator {
    double weights[oversampling - 1][2 * reach];
};

Interpolator makeInterpolator() {
    Interpolator interpolator;
    for (int p = 1; p < oversampling; ++p) {
        double fraction = double(p) / oversampling;
        for (int j = -reach + 1; j <= reach; ++j) {
            double x = fraction - j;
            double sinc = std::sin(M_PI * x) / (M_PI * x);
            double window = 0.5 + 0.5 * std::cos(M_PI * x / (reach + 1));
            interpolator.weights[p - 1][j + reach - 1] = sinc * window;
        }
    }
    return interpolator;
}

// The highest absolute value at the frame and between it and the next frame, on either side.
double peakNear(const std::vector<float>& stereo, const Interpolator& interpolator, long frame, long frames) {
    double peak = std::fmax(std::fabs(stereo[2 * size_t(frame)]), std::fabs(stereo[2 * size_t(frame) + 1]));
    if (frame < reach - 1 || frame + reach >= frames) return peak;
    for (int p = 0; p < oversampling - 1; ++p) {
        for (size_t side = 0; side < 2; ++side) {
            double sum = 0;
            for (int j = -reach + 1; j <= reach; ++j) {
                sum += stereo[2 * size_t(frame + j) + side] * interpolator.weights[p][j + reach - 1];
            }
            peak = std::fmax(peak, std::fabs(sum));
        }
    }
    return peak;
}

// Peaks near every frame. Between samples the wave rises at most a few dB above them, so only
// the frames within 6 dB of the quiet limit are oversampled; quieter ones keep their sample.
std::vector<float> framePeaks(const std::vector<float>& stereo, double quietLimit) {
    Interpolator interpolator = makeInterpolator();
    long frames = long(stereo.size() / 2);
    std::vector<float> peaks(static_cast<size_t>(frames));
    double threshold = quietLimit * 0.5;
    for (long i = 0; i < frames; ++i) {
        double sample = std::fmax(std::fabs(stereo[2 * size_t(i)]), std::fabs(stereo[2 * size_t(i) + 1]));
        double next =
            i + 1 < frames ? std::fmax(std::fabs(stereo[2 * size_t(i) + 2]), std::fabs(stereo[2 * size_t(i) + 3])) : 0;
        peaks[size_t(i)] =
            float(sample < threshold && next < threshold ? sample : peakNear(stereo, interpolator, i, frames));
    }
    return peaks;
}

}  // namespace

double integratedLoudness(const std::vector<float>& stereo) {
    // Blocks of 400 ms overlapping by 75%, gated at -70 LUFS and then 10 LU under their mean.
    std::vector<double> blocks = gatedBlocks(blockPowers(hopPowers(stereo), 4), 10.0);
    if (blocks.empty()) return -70.0;
    double sum = 0;
    for (double block : blocks) sum += block;
    return loudnessOf(sum / double(blocks.size()));
}

double loudnessRange(const std::vector<float>& stereo) {
    // Short-term loudness: 3 s blocks, one every 100 ms, gated at -70 LUFS and 20 LU under their
    // mean; the range is the spread from the 10th to the 95th percentile of what remains.
    std::vector<double> blocks = gatedBlocks(blockPowers(hopPowers(stereo), 30), 20.0);
    if (blocks.empty()) return 0.0;
    std::vector<double> levels;
    for (double block : blocks) levels.push_back(loudnessOf(block));
    std::sort(levels.begin(), levels.end());
    auto percentile = [&](double share) { return levels[size_t(std::lround(share * double(levels.size() - 1)))]; };
    return percentile(0.95) - percentile(0.10);
}

double levelAfterDb(const std::vector<float>& stereo, double seconds) {
    size_t first = 2 * size_t(std::max(0L, std::lround(seconds * songRate)));
    double sum = 0;
    for (size_t i = first; i < stereo.size(); ++i) sum += double(stereo[i]) * double(stereo[i]);
    if (first >= stereo.size() || sum == 0) return -HUGE_VAL;
    return 10.0 * std::log10(sum / double(stereo.size() - first));
}

double truePeakDb(const std::vector<float>& stereo) {
    double samplePeak = 0;
    for (float sample : stereo) samplePeak = std::fmax(samplePeak, std::fabs(double(sample)));
    double peak = 0;
    for (float p : framePeaks(stereo, samplePeak)) peak = std::fmax(peak, double(p));
    return peak > 0 ? 20.0 * std::log10(peak) : -200.0;
}

void limitPeaks(std::vector<float>& stereo, double ceilingDb) {
    const double ceiling = std::pow(10.0, ceilingDb / 20.0);
    const long lookAhead = songRate / 500;  // 2 ms
    const double release = 1.0 - std::exp(-1.0 / (0.08 * songRate));
    long frames = long(stereo.size() / 2);
    // The gain each frame needs, judged by its true peak (between samples too).
    std::vector<float> needed = framePeaks(stereo, ceiling);
    for (float& value : needed) value = float(value > ceiling ? ceiling / value : 1.0);
    // held[i]: the least gain needed anywhere in [i, i + lookAhead]; averaging it over the
    // last lookAhead + 1 frames gives a smooth gain that is never above what any frame needs.
    std::vector<float> held(static_cast<size_t>(frames));
    std::deque<long> window;
    for (long i = frames - 1; i >= 0; --i) {
        while (!window.empty() && needed[size_t(window.back())] >= needed[size_t(i)]) window.pop_back();
        window.push_back(i);
        while (window.front() > i + lookAhead) window.pop_front();
        held[size_t(i)] = needed[size_t(window.front())];
    }
    double runningSum = 0;
    double gain = 1.0;
    for (long i = 0; i < frames; ++i) {
        runningSum += held[size_t(i)];
        if (i > lookAhead) runningSum -= held[size_t(i - lookAhead - 1)];
        long count = i < lookAhead ? i + 1 : lookAhead + 1;
        double smooth = runningSum / double(count);
        gain = std::fmin(smooth, gain + (1.0 - gain) * release);
        stereo[2 * size_t(i)] = float(stereo[2 * size_t(i)] * gain);
        stereo[2 * size_t(i) + 1] = float(stereo[2 * size_t(i) + 1] * gain);
    }
}

MasteringReport masterSong(std::vector<float>& stereo, double targetLufs, double truePeakLimitDb) {
    MasteringReport report{integratedLoudness(stereo), 0, 0, 0, 0, 0};
    std::vector<float> raw = stereo;
    double gainDb = targetLufs - report.loudnessBefore;
    double ceilingDb = truePeakLimitDb - 0.1;
    for (int attempt = 0; attempt < 6; ++attempt) {
        stereo = raw;
        float gain = float(std::pow(10.0, gainDb / 20.0));
        for (float& sample : stereo) sample *= gain;
        limitPeaks(stereo, ceilingDb);
        report.loudness = integratedLoudness(stereo);
        report.truePeak = truePeakDb(stereo);
        report.gainDb = gainDb;
        report.passes = attempt + 1;
        bool peakOk = report.truePeak <= truePeakLimitDb;
        bool loudnessOk = std::fabs(report.loudness - targetLufs) <= 0.1;
        if (peakOk && loudnessOk) break;
        if (!peakOk) ceilingDb -= report.truePeak - truePeakLimitDb + 0.05;
        if (!loudnessOk) gainDb += targetLufs - report.loudness;
    }
    report.loudnessRange = loudnessRange(stereo);
    return report;
}
