// The mix: sidechain ducking, delay, reverb, the master filters and the fade at the end.
#include "song_mix.h"

#include <algorithm>
#include <cmath>

#include "base/show_facts.h"

namespace {

// How far the pads are pulled down under each kick (1 = untouched), so the beat breathes. The
// dip recovers exponentially and is shifted to land exactly on 1 at its end, leaving no step.
std::vector<float> kickDucking(const Arrangement& arrangement, long frames) {
    std::vector<float> gain(size_t(frames), 1.0f);
    const double depth = 0.45;
    const long span = long(0.3 * songOutputRate);
    const double rest = std::exp(-0.3 / 0.09);
    for (const NoteEvent& e : arrangement.events) {
        if (e.instrument != Instrument::kick) continue;
        for (long i = 0; i < span && e.start + i < frames; ++i) {
            double t = double(i) / songOutputRate;
            double attack = std::fmin(1.0, t / 0.005);
            double recovery = std::fmax(0.0, (std::exp(-t / 0.09) - rest) / (1.0 - rest));
            float duck = float(1.0 - depth * attack * recovery);
            size_t k = size_t(e.start + i);
            if (duck < gain[k]) gain[k] = duck;
        }
    }
    return gain;
}

// An echo that bounces between the sides, a dotted eighth apart, darker on every repeat.
void addPingPongDelay(const MixBuses& buses, double framesPerStep, std::vector<float>& out) {
    long delay = std::lround(framesPerStep * 3.0);
    long frames = buses.frames;
    std::vector<float> left(size_t(frames), 0.0f);
    std::vector<float> right(size_t(frames), 0.0f);
    const float feedback = 0.42f;
    const float wet = 0.5f;
    float damp = 0.0f;
    for (long i = 0; i < frames; ++i) {
        float fromRight = i >= delay ? right[size_t(i - delay)] : 0.0f;
        float fromLeft = i >= delay ? left[size_t(i - delay)] : 0.0f;
        damp += 0.35f * (fromRight - damp);
        left[size_t(i)] = buses.delaySend[size_t(i)] + feedback * damp;
        right[size_t(i)] = fromLeft;
        out[2 * size_t(i)] += wet * fromLeft;
        out[2 * size_t(i) + 1] += wet * fromRight;
    }
}

struct Comb {
    std::vector<float> buffer;
    size_t index = 0;
    float store = 0;
};

struct Allpass {
    std::vector<float> buffer;
    size_t index = 0;
};

float runComb(Comb& c, float input, float feedback, float damping) {
    float output = c.buffer[c.index];
    c.store = output * (1.0f - damping) + c.store * damping;
    c.buffer[c.index] = input + c.store * feedback;
    if (++c.index == c.buffer.size()) c.index = 0;
    return output;
}

float runAllpass(Allpass& a, float input) {
    float delayed = a.buffer[a.index];
    float output = delayed - input;
    a.buffer[a.index] = input + delayed * 0.5f;
    if (++a.index == a.buffer.size()) a.index = 0;
    return output;
}

// A small room: parallel damped combs into two allpasses, tuned a little apart for each side.
void addReverb(const MixBuses& buses, std::vector<float>& out) {
    const int combLengths[4] = {1557, 1617, 1491, 1422};
    const int allpassLengths[2] = {556, 441};
    const int spread = 131;  // the sides' rooms differ enough to sound wide
    const float wet = 0.3f;
    for (int side = 0; side < 2; ++side) {
        Comb combs[4];
        Allpass allpasses[2];
        for (int k = 0; k < 4; ++k) combs[k].buffer.assign(size_t(combLengths[k] + side * spread), 0.0f);
        for (int k = 0; k < 2; ++k) allpasses[k].buffer.assign(size_t(allpassLengths[k] + side * spread), 0.0f);
        for (long i = 0; i < buses.frames; ++i) {
            float input = buses.reverbSend[size_t(i)] * 0.5f;
            float sum = 0;
            for (Comb& comb : combs) sum += runComb(comb, input, 0.86f, 0.3f);
            for (Allpass& allpass : allpasses) sum = runAllpass(allpass, sum);
            out[2 * size_t(i) + size_t(side)] += wet * sum;
        }
    }
}

// The master's tone: a gentle 30 Hz high-pass (one pole) against rumble and offset, a broad
// lift of 4 dB around 3.5 kHz for presence, and a 16 kHz low-pass (two poles) that takes the
// fizz off the noise drums. It also leaves little for the MP3 encoder's own low-pass to remove,
// so the encoded song keeps its loudness.
void masterFilters(std::vector<float>& out, long frames) {
    const double highPass = std::exp(-2.0 * M_PI * 30.0 / songOutputRate);
    // The presence lift: a peaking filter (Q 0.8).
    const double pw = 2.0 * M_PI * 3500.0 / songOutputRate;
    const double pa = std::pow(10.0, 4.0 / 40.0);
    const double palpha = std::sin(pw) / (2.0 * 0.8);
    const double p0 = 1.0 + palpha / pa;
    const double pb0 = (1.0 + palpha * pa) / p0, pb1 = -2.0 * std::cos(pw) / p0, pb2 = (1.0 - palpha * pa) / p0;
    const double pa2 = (1.0 - palpha / pa) / p0;
    const double w = 2.0 * M_PI * 16000.0 / songOutputRate;
    const double alpha = std::sin(w) / (2.0 * M_SQRT1_2);
    const double a0 = 1.0 + alpha;
    const double b0 = (1.0 - std::cos(w)) * 0.5 / a0;
    const double b1 = (1.0 - std::cos(w)) / a0;
    const double a1 = -2.0 * std::cos(w) / a0;
    const double a2 = (1.0 - alpha) / a0;
    for (int side = 0; side < 2; ++side) {
        double previousIn = 0, previousOut = 0;
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        double px1 = 0, px2 = 0, py1 = 0, py2 = 0;
        for (long i = 0; i < frames; ++i) {
            size_t k = 2 * size_t(i) + size_t(side);
            double input = out[k];
            double high = highPass * (previousOut + input - previousIn);
            previousIn = input;
            previousOut = high;
            double present = pb0 * high + pb1 * px1 + pb2 * px2 - pb1 * py1 - pa2 * py2;
            px2 = px1;
            px1 = high;
            py2 = py1;
            py1 = present;
            double low = b0 * present + b1 * x1 + b0 * x2 - a1 * y1 - a2 * y2;
            x2 = x1;
            x1 = present;
            y2 = y1;
            y1 = low;
            out[k] = float(low);
        }
    }
}

// Widens the picture: the difference of the sides, above about 200 Hz, is raised by half
// (the low end stays in the middle).
void widen(std::vector<float>& out, long frames) {
    const double pole = std::exp(-2.0 * M_PI * 200.0 / songOutputRate);
    double low = 0;
    for (long i = 0; i < frames; ++i) {
        size_t k = 2 * size_t(i);
        double mid = 0.5 * (out[k] + out[k + 1]);
        double side = 0.5 * (out[k] - out[k + 1]);
        low = (1.0 - pole) * side + pole * low;
        side += 0.5 * (side - low);
        out[k] = float(mid + side);
        out[k + 1] = float(mid - side);
    }
}

// The whole mix, echoes and room included, falls along a half cosine from full level at `start`
// to nothing at `end`; everything after is digital silence.
void fadeOut(std::vector<float>& out, long frames, long start, long end) {
    for (long i = std::max(0L, start); i < frames; ++i) {
        double gain = i >= end ? 0.0 : 0.5 + 0.5 * std::cos(M_PI * double(i - start) / double(end - start));
        out[2 * size_t(i)] = float(out[2 * size_t(i)] * gain);
        out[2 * size_t(i) + 1] = float(out[2 * size_t(i) + 1] * gain);
    }
}

}  // namespace

std::vector<float> mixDown(const MixBuses& buses, const Arrangement& arrangement) {
    long frames = buses.frames;
    std::vector<float> out(2 * size_t(frames), 0.0f);
    std::vector<float> duck = kickDucking(arrangement, frames);
    for (long i = 0; i < frames; ++i) {
        size_t k = size_t(i);
        out[2 * k] = buses.dryLeft[k] + buses.padLeft[k] * duck[k];
        out[2 * k + 1] = buses.dryRight[k] + buses.padRight[k] * duck[k];
    }
    addPingPongDelay(buses, arrangement.framesPerStep, out);
    addReverb(buses, out);
    widen(out, frames);
    masterFilters(out, frames);
    fadeOut(out, frames, arrangement.fadeStart, arrangement.fadeEnd);
    return out;
}

void carveRoomForVoice(std::vector<float>& band, const std::vector<float>& voice) {
    // A band-pass of 0 dB peak gain at 2.2 kHz (Q 0.7): taking a share d of it off the band is a
    // peaking cut of up to 20 log10(1 - d) dB there.
    const double w = 2.0 * M_PI * 2200.0 / songOutputRate;
    const double alpha = std::sin(w) / (2.0 * 0.7);
    const double a0 = 1.0 + alpha;
    const double b0 = alpha / a0, a1 = -2.0 * std::cos(w) / a0, a2 = (1.0 - alpha) / a0;
    const double attack = 1.0 - std::exp(-1.0 / (0.01 * songOutputRate));
    const double release = 1.0 - std::exp(-1.0 / (0.25 * songOutputRate));
    const double fullDepthLevel = 0.05;  // the voice's level (RMS-like) at which the cut is whole
    double level = 0;
    double x1[2] = {0, 0}, x2[2] = {0, 0}, y1[2] = {0, 0}, y2[2] = {0, 0};
    size_t frames = band.size() / 2;
    for (size_t i = 0; i < frames; ++i) {
        double v = 0.5 * std::fabs(double(voice[2 * i]) + double(voice[2 * i + 1]));
        level += (v - level) * (v > level ? attack : release);
        double depth = 0.7 * std::fmin(1.0, level / fullDepthLevel);
        for (size_t side = 0; side < 2; ++side) {
            double x = band[2 * i + side];
            double y = b0 * x - b0 * x2[side] - a1 * y1[side] - a2 * y2[side];
            x2[side] = x1[side];
            x1[side] = x;
            y2[side] = y1[side];
            y1[side] = y;
            band[2 * i + side] = float(x - depth * y);
        }
    }
}
