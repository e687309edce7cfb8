// Loudness, loudness range and true peak as the field measures them (libebur128), and the
// limiting and mastering of the song.
#include "song_loudness.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include <ebur128.h>

#include "base/show_facts.h"

namespace {

// A libebur128 meter over the whole signal in the given modes; null when it cannot be made.
ebur128_state* meterOver(const std::vector<float>& stereo, int mode) {
    ebur128_state* meter = ebur128_init(songOutputChannels, songOutputRate, mode);
    if (!meter) return nullptr;
    if (ebur128_add_frames_float(meter, stereo.data(), stereo.size() / 2) != EBUR128_SUCCESS) {
        ebur128_destroy(&meter);
        return nullptr;
    }
    return meter;
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
    ebur128_state* meter = meterOver(stereo, EBUR128_MODE_I);
    double loudness = -HUGE_VAL;
    if (meter) ebur128_loudness_global(meter, &loudness);
    ebur128_destroy(&meter);
    return std::isfinite(loudness) ? loudness : -70.0;
}

double loudnessRange(const std::vector<float>& stereo) {
    ebur128_state* meter = meterOver(stereo, EBUR128_MODE_LRA);
    double range = 0;
    if (meter) ebur128_loudness_range(meter, &range);
    ebur128_destroy(&meter);
    return range;
}

double levelAfterDb(const std::vector<float>& stereo, double seconds) {
    size_t first = 2 * size_t(std::max(0L, std::lround(seconds * songOutputRate)));
    double sum = 0;
    for (size_t i = first; i < stereo.size(); ++i) sum += double(stereo[i]) * double(stereo[i]);
    if (first >= stereo.size() || sum == 0) return -HUGE_VAL;
    return 10.0 * std::log10(sum / double(stereo.size() - first));
}

double truePeakDb(const std::vector<float>& stereo) {
    ebur128_state* meter = meterOver(stereo, EBUR128_MODE_TRUE_PEAK);
    double peak = 0;
    for (unsigned side = 0; meter && side < 2; ++side) {
        double sidePeak = 0;
        if (ebur128_true_peak(meter, side, &sidePeak) == EBUR128_SUCCESS) peak = std::fmax(peak, sidePeak);
    }
    ebur128_destroy(&meter);
    return peak > 0 ? 20.0 * std::log10(peak) : -200.0;
}

void limitPeaks(std::vector<float>& stereo, double ceilingDb) {
    const double ceiling = std::pow(10.0, ceilingDb / 20.0);
    const long lookAhead = songOutputRate / 500;  // 2 ms
    const double release = 1.0 - std::exp(-1.0 / (0.08 * songOutputRate));
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
