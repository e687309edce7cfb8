// Band energies through Butterworth filters, the side against the middle, the correlation of
// each bar with every bar before it, and libebur128 per section.
#include "song_figures.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>

#include "base/show_facts.h"
#include "song_arrange.h"

namespace {

struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

Biquad butterworth(double cutoff, bool highPass) {
    double w = 2.0 * M_PI * cutoff / songOutputRate;
    double alpha = std::sin(w) / std::sqrt(2.0);
    double c = std::cos(w);
    double a0 = 1.0 + alpha;
    double b0 = highPass ? (1.0 + c) / 2.0 : (1.0 - c) / 2.0;
    double b1 = highPass ? -(1.0 + c) : 1.0 - c;
    return Biquad{b0 / a0, b1 / a0, b0 / a0, -2.0 * c / a0, (1.0 - alpha) / a0};
}

double run(Biquad& f, double x) {
    double y = f.b0 * x + f.b1 * f.x1 + f.b2 * f.x2 - f.a1 * f.y1 - f.a2 * f.y2;
    f.x2 = f.x1;
    f.x1 = x;
    f.y2 = f.y1;
    f.y1 = y;
    return y;
}

// The energy of a signal between two frequencies (0 for no lower edge), each edge fourth order.
double bandEnergy(const std::vector<double>& signal, double low, double high) {
    Biquad stages[4] = {butterworth(low > 0 ? low : 20, true), butterworth(low > 0 ? low : 20, true),
                        butterworth(high, false), butterworth(high, false)};
    double energy = 0;
    for (double x : signal) {
        double y = x;
        for (Biquad& stage : stages) y = run(stage, y);
        energy += y * y;
    }
    return energy;
}

double decibels(double ratio) { return ratio > 0 ? 10.0 * std::log10(ratio) : -200.0; }

// The share of the bars (two seconds at 120 beats a minute) whose wave correlates at 0.96 or
// more with an earlier bar's.
double repeatedShare(const std::vector<double>& mono, long framesPerBar) {
    long bars = long(mono.size()) / framesPerBar;
    std::vector<double> norms(static_cast<size_t>(bars));
    for (long b = 0; b < bars; ++b) {
        double sum = 0;
        for (long i = 0; i < framesPerBar; ++i)
            sum += mono[size_t(b * framesPerBar + i)] * mono[size_t(b * framesPerBar + i)];
        norms[size_t(b)] = std::sqrt(sum);
    }
    int repeated = 0, sounding = 0;
    for (long b = 0; b < bars; ++b) {
        if (norms[size_t(b)] < 1e-3) continue;
        ++sounding;
        for (long earlier = 0; earlier < b; ++earlier) {
            if (norms[size_t(earlier)] < 1e-3) continue;
            double dot = 0;
            for (long i = 0; i < framesPerBar; ++i)
                dot += mono[size_t(b * framesPerBar + i)] * mono[size_t(earlier * framesPerBar + i)];
            if (dot / (norms[size_t(b)] * norms[size_t(earlier)]) >= 0.96) {
                ++repeated;
                break;
            }
        }
    }
    return sounding ? double(repeated) / sounding : 0.0;
}

}  // namespace

void printSongFigures(FILE* out, const Score& score, const std::vector<float>& stereo) {
    size_t frames = stereo.size() / 2;
    std::vector<double> mid(frames), side(frames);
    for (size_t i = 0; i < frames; ++i) {
        mid[i] = 0.5 * (stereo[2 * i] + stereo[2 * i + 1]);
        side[i] = 0.5 * (stereo[2 * i] - stereo[2 * i + 1]);
    }
    double body = bandEnergy(mid, 250, 2000);
    fprintf(out, "figures: width (side against mid, 1-8 kHz) %.1f dB\n",
            decibels(bandEnergy(side, 1000, 8000) / bandEnergy(mid, 1000, 8000)));
    fprintf(out, "figures: presence (2-6 kHz against 250 Hz-2 kHz) %.1f dB\n",
            decibels(bandEnergy(mid, 2000, 6000) / body));
    fprintf(out, "figures: sub (under 40 Hz against 40-250 Hz) %.1f dB\n",
            decibels(bandEnergy(mid, 0, 40) / bandEnergy(mid, 40, 250)));
    long framesPerBar = barStartFrame(score, 1);
    fprintf(out, "figures: bars near-identical to an earlier bar (correlation 0.96 or more) %.0f %%\n",
            100.0 * repeatedShare(mid, framesPerBar));
    fprintf(out, "figures: %-12s %5s %9s %8s\n", "section", "bar", "LUFS", "LRA");
    for (const Section& section : score.sections) {
        size_t first = size_t(barStartFrame(score, section.startBar));
        size_t last = std::min(frames, size_t(barStartFrame(score, section.endBar)));
        if (first >= last) continue;
        ebur128_state* meter = ebur128_init(songOutputChannels, songOutputRate, EBUR128_MODE_I | EBUR128_MODE_LRA);
        if (!meter) continue;
        ebur128_add_frames_float(meter, stereo.data() + 2 * first, last - first);
        double loudness = 0, range = 0;
        ebur128_loudness_global(meter, &loudness);
        ebur128_loudness_range(meter, &range);
        ebur128_destroy(&meter);
        fprintf(out, "figures: %-12s %5d %9.1f %8.1f\n", section.name.c_str(), section.startBar + 1, loudness, range);
    }
}
