// The instruments. Everything is computed here from oscillators, noise, envelopes and filters;
// there are no recorded sounds.
#include "song_instruments.h"

#include "base/show_facts.h"
#include "song_noise.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double sampleTime = 1.0 / songOutputRate;
constexpr double twoPi = 2.0 * M_PI;

// A state-variable filter (trapezoidal integration): low, band and high outputs at once.
struct Filter {
    double ic1 = 0;
    double ic2 = 0;
    double a1 = 0;
    double a2 = 0;
    double a3 = 0;
    double k = 1;
};

struct FilterOut {
    double low;
    double band;
    double high;
};

void tuneFilter(Filter& f, double cutoff, double resonance) {
    double limited = std::fmin(std::fmax(cutoff, 20.0), songOutputRate * 0.45);
    double g = std::tan(M_PI * limited / songOutputRate);
    f.k = 2.0 - 2.0 * resonance;
    f.a1 = 1.0 / (1.0 + g * (g + f.k));
    f.a2 = g * f.a1;
    f.a3 = g * f.a2;
}

FilterOut runFilter(Filter& f, double input) {
    double v3 = input - f.ic2;
    double v1 = f.a1 * f.ic1 + f.a2 * v3;
    double v2 = f.ic2 + f.a2 * f.ic1 + f.a3 * v3;
    f.ic1 = 2.0 * v1 - f.ic1;
    f.ic2 = 2.0 * v2 - f.ic2;
    return FilterOut{v2, v1, input - f.k * v1 - v2};
}

// Band-limited corrections for the jumps of saw and square waves (polyBLEP).
double blep(double phase, double step) {
    if (phase < step) {
        double t = phase / step;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - step) {
        double t = (phase - 1.0) / step;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double sawWave(double phase, double step) { return 2.0 * phase - 1.0 - blep(phase, step); }

double squareWave(double phase, double step, double width) {
    double shifted = phase + (1.0 - width);
    if (shifted >= 1.0) shifted -= 1.0;
    return (phase < width ? 1.0 : -1.0) + blep(phase, step) - blep(shifted, step);
}

double advance(double phase, double step) {
    phase += step;
    return phase >= 1.0 ? phase - std::floor(phase) : phase;
}

double midiFrequency(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// Attack, decay to sustain while held, then a release from wherever the level is that reaches
// silence exactly `release` seconds after the note is let go: it falls as the cube of the time
// left, as fast at first as an exponential with a third of that time and with no step at its
// end. Stepped once a frame; the decay is exponential, as multiplications. A note sounds for
// soundingFrames(), after which it is silent.
struct Envelope {
    double level;
    double attackStep;
    double sustain;
    double decayFactor;
    double releaseFrom;
    long attackFrames;
    long heldFrames;
    long releaseFrames;
    long frame;
};

Envelope makeEnvelope(double attack, double decay, double sustain, double release, long heldFrames) {
    long attackFrames = std::max(1L, long(attack * songOutputRate));
    long releaseFrames = std::max(1L, long(release * songOutputRate));
    return Envelope{0.0,
                    1.0 / double(attackFrames),
                    sustain,
                    std::exp(-1.0 / (decay * songOutputRate)),
                    0.0,
                    attackFrames,
                    std::max(0L, heldFrames),
                    releaseFrames,
                    0};
}

long soundingFrames(const Envelope& e) { return e.heldFrames + e.releaseFrames; }

double nextLevel(Envelope& e) {
    if (e.frame >= e.heldFrames) {
        if (e.frame == e.heldFrames) e.releaseFrom = e.level;
        double left = std::fmax(0.0, 1.0 - double(e.frame - e.heldFrames) / double(e.releaseFrames));
        e.level = e.releaseFrom * left * left * left;
    } else if (e.frame < e.attackFrames) {
        e.level = std::min(1.0, e.level + e.attackStep);
    } else {
        e.level = e.sustain + (e.level - e.sustain) * e.decayFactor;
    }
    ++e.frame;
    return e.level;
}

// The drums decay on their own but would still sound at the end of their rendering window:
// over its last `fade` frames this gain falls along a half cosine from 1 to 0, so every hit
// ends in silence, smoothly enough to add no click of its own.
double tailFade(long i, long total, long fade) {
    long left = total - 1 - i;
    if (left >= fade) return 1.0;
    return left <= 0 ? 0.0 : 0.5 - 0.5 * std::cos(M_PI * double(left) / double(fade));
}

// Where a sound goes: a gain for each side and the two sends.
struct Routing {
    double left;
    double right;
    double delay;
    double reverb;
};

Routing route(double pan, double level, double delay, double reverb) {
    double angle = (pan + 1.0) * M_PI * 0.25;
    return Routing{level * std::cos(angle) * M_SQRT2, level * std::sin(angle) * M_SQRT2, delay, reverb};
}

void mixInto(MixBuses& buses, long frame, double sample, const Routing& r) {
    if (frame < 0 || frame >= buses.frames) return;
    size_t i = size_t(frame);
    buses.dryLeft[i] += float(sample * r.left);
    buses.dryRight[i] += float(sample * r.right);
    buses.delaySend[i] += float(sample * (r.left + r.right) * 0.5 * r.delay);
    buses.reverbSend[i] += float(sample * (r.left + r.right) * 0.5 * r.reverb);
}

long framesFor(double seconds) { return long(seconds * songOutputRate); }

void renderKick(const NoteEvent& e, MixBuses& buses, Noise& noise) {
    Routing r = route(e.pan, 0.5 * e.velocity, 0.0, 0.02);
    double phase = 0;
    long total = framesFor(0.5);
    for (long i = 0; i < total; ++i) {
        double t = i * sampleTime;
        double frequency = 52.0 + 120.0 * std::exp(-t / 0.03);
        phase = advance(phase, frequency * sampleTime);
        // The body falls from a punch to the sub under it, which rings a little longer.
        double body = std::sin(twoPi * phase) * (0.75 * std::exp(-t / 0.22) + 0.35 * std::exp(-t / 0.5)) *
                      std::fmin(1.0, t / 0.002);
        double click = nextNoise(noise) * std::exp(-t / 0.002) * 0.3;
        double fade = tailFade(i, total, framesFor(0.22));
        mixInto(buses, e.start + i, fade * std::tanh(1.6 * (body + click)) / std::tanh(1.6), r);
    }
}

void renderSnare(const NoteEvent& e, MixBuses& buses, Noise& noise) {
    Routing r = route(e.pan, 0.36 * e.velocity, 0.0, 0.28);
    Filter hiss;
    tuneFilter(hiss, 1800, 0.2);
    long total = framesFor(0.45);
    for (long i = 0; i < total; ++i) {
        double t = i * sampleTime;
        double tone = 0.55 * std::sin(twoPi * 185.0 * t) * std::exp(-t / 0.055) +
                      0.25 * std::sin(twoPi * 330.0 * t) * std::exp(-t / 0.035);
        double rattle = runFilter(hiss, nextNoise(noise)).high * std::exp(-t / 0.12);
        mixInto(buses, e.start + i, (tone + 0.8 * rattle) * tailFade(i, total, framesFor(0.2)), r);
    }
}

void renderClap(const NoteEvent& e, MixBuses& buses, Noise& noise) {
    Routing r = route(e.pan, 0.62 * e.velocity, 0.05, 0.35);
    Filter body;
    tuneFilter(body, 1300, 0.45);
    long total = framesFor(0.45);
    for (long i = 0; i < total; ++i) {
        double t = i * sampleTime;
        // Three quick slaps, then the tail of the room.
        double slaps = 0;
        for (int k = 0; k < 3; ++k) {
            double since = t - k * 0.011;
            if (since >= 0) slaps += std::exp(-since / 0.004);
        }
        double tail = t > 0.025 ? 0.6 * std::exp(-(t - 0.025) / 0.11) : 0.0;
        double fade = tailFade(i, total, framesFor(0.2));
        mixInto(buses, e.start + i, runFilter(body, nextNoise(noise)).band * 2.2 * (slaps + tail) * fade, r);
    }
}

void renderHat(const NoteEvent& e, MixBuses& buses, Noise& noise, bool open) {
    Routing r = route(e.pan, (open ? 0.22 : 0.3) * e.velocity, 0.0, 0.1);
    Filter air;
    tuneFilter(air, 7500, 0.3);
    double decay = open ? 0.2 : 0.03;
    long total = framesFor(open ? 0.7 : 0.16);
    long fade = framesFor(open ? 0.3 : 0.06);
    for (long i = 0; i < total; ++i) {
        double t = i * sampleTime;
        mixInto(buses, e.start + i,
                runFilter(air, nextNoise(noise)).high * std::exp(-t / decay) * tailFade(i, total, fade), r);
    }
}

void renderTom(const NoteEvent& e, MixBuses& buses) {
    Routing r = route(e.pan, 0.26 * e.velocity, 0.0, 0.25);
    double base = midiFrequency(e.midiNote);
    double phase = 0;
    long total = framesFor(0.55);
    for (long i = 0; i < total; ++i) {
        double t = i * sampleTime;
        phase = advance(phase, base * (1.0 + 0.6 * std::exp(-t / 0.04)) * sampleTime);
        mixInto(buses, e.start + i, std::sin(twoPi * phase) * std::exp(-t / 0.16) * tailFade(i, total, framesFor(0.2)),
                r);
    }
}

// The crash and the riser are wide: each side gets its own noise. The riser swells over its
// length and falls away within a moment after it, under the downbeat that follows.
void renderWideNoise(const NoteEvent& e, MixBuses& buses, Noise& noise, bool riser) {
    Filter left;
    Filter right;
    Noise other{noise.state ^ 0x9e3779b9u};
    long swell = std::max(1L, e.length);
    long total = riser ? swell + framesFor(0.06) : framesFor(3.5);
    long fade = riser ? framesFor(0.06) : framesFor(1.5);
    double level = (riser ? 0.16 : 0.2) * e.velocity;
    if (!riser) {
        tuneFilter(left, 5200, 0.3);
        tuneFilter(right, 5200, 0.3);
    }
    for (long i = 0; i < total; ++i) {
        double t = i * sampleTime;
        double progress = std::fmin(1.0, double(i) / double(swell));
        if (riser && i % 32 == 0) {
            double cutoff = 300.0 * std::pow(30.0, progress);
            tuneFilter(left, cutoff, 0.6);
            tuneFilter(right, cutoff, 0.6);
        }
        double shape = riser ? progress * progress : std::exp(-t / 0.8) * std::fmin(1.0, t / 0.001);
        double envelope = shape * tailFade(i, total, fade);
        double l = riser ? runFilter(left, nextNoise(noise)).band : runFilter(left, nextNoise(noise)).high;
        double rr = riser ? runFilter(right, nextNoise(other)).band : runFilter(right, nextNoise(other)).high;
        long frame = e.start + i;
        if (frame >= buses.frames) break;
        if (frame < 0) continue;
        buses.dryLeft[size_t(frame)] += float(level * envelope * l);
        buses.dryRight[size_t(frame)] += float(level * envelope * rr);
        buses.reverbSend[size_t(frame)] += float(level * envelope * (l + rr) * 0.2);
    }
}

void renderBass(const NoteEvent& e, MixBuses& buses) {
    Routing r = route(0.0, 0.55 * e.velocity, 0.0, 0.0);
    double frequency = midiFrequency(e.midiNote);
    double step = frequency * sampleTime;
    Envelope envelope = makeEnvelope(0.003, 0.25, 0.75, 0.06, e.length - framesFor(0.01));
    double phase = 0;
    double subPhase = 0;
    Filter filter;
    long total = soundingFrames(envelope);
    for (long i = 0; i < total; ++i) {
        double t = i * sampleTime;
        if (i % 16 == 0) {
            double cutoff = 140.0 + (500.0 + 1400.0 * e.brightness) * std::exp(-t / 0.1) + 250.0 * e.brightness;
            tuneFilter(filter, cutoff, 0.3);
        }
        phase = advance(phase, step);
        subPhase = advance(subPhase, step * 0.5);
        double tone = 0.55 * sawWave(phase, step) + 0.6 * std::sin(twoPi * phase);
        double sub = 0.3 * std::sin(twoPi * subPhase);  // an octave down, under the filter
        mixInto(buses, e.start + i, (runFilter(filter, tone).low + sub) * nextLevel(envelope), r);
    }
}

void renderPad(const NoteEvent& e, MixBuses& buses) {
    // Four detuned voices spread from side to side, each drifting on its own: a wide pad.
    const double detune[4] = {-0.11, -0.04, 0.05, 0.12};
    const double pans[4] = {-1.0, -0.45, 0.45, 1.0};
    double level = 0.034 * e.velocity;
    for (int voice = 0; voice < 4; ++voice) {
        Routing r = route(pans[voice], level, 0.0, 0.0);
        double step = midiFrequency(e.midiNote + detune[voice]) * sampleTime;
        double phase = 0.31 * voice;
        Filter filter;
        Envelope envelope = makeEnvelope(0.35, 1.0, 1.0, 1.5, e.length);
        long total = soundingFrames(envelope);
        for (long i = 0; i < total; ++i) {
            double t = i * sampleTime;
            if (i % 32 == 0) {
                double wobble = 1.0 + 0.12 * std::sin(twoPi * 0.23 * t + voice);
                tuneFilter(filter, (600.0 + 3400.0 * e.brightness) * wobble, 0.15);
            }
            double drift = 1.0 + 0.0025 * std::sin(twoPi * (0.31 + 0.07 * voice) * t + 1.7 * voice);
            phase = advance(phase, step * drift);
            double sample = runFilter(filter, sawWave(phase, step)).low * nextLevel(envelope);
            long frame = e.start + i;
            if (frame >= buses.frames) break;
            if (frame < 0) continue;
            buses.padLeft[size_t(frame)] += float(sample * r.left);
            buses.padRight[size_t(frame)] += float(sample * r.right);
            buses.reverbSend[size_t(frame)] += float(sample * level * 0.35);
        }
    }
}

void renderArp(const NoteEvent& e, MixBuses& buses) {
    Routing r = route(e.pan, 0.2 * e.velocity, 0.35, 0.2);
    double step = midiFrequency(e.midiNote) * sampleTime;
    Envelope envelope = makeEnvelope(0.002, 0.16, 0.25, 0.12, e.length);
    double phase = 0;
    Filter filter;
    long total = soundingFrames(envelope);
    for (long i = 0; i < total; ++i) {
        double t = i * sampleTime;
        if (i % 16 == 0) tuneFilter(filter, 900.0 + 5200.0 * e.brightness * std::exp(-t / 0.12), 0.35);
        phase = advance(phase, step);
        double tone = 0.6 * squareWave(phase, step, 0.3) + 0.4 * sawWave(phase, step);
        mixInto(buses, e.start + i, runFilter(filter, tone).low * nextLevel(envelope), r);
    }
}

void renderLead(const NoteEvent& e, MixBuses& buses, bool villain) {
    Routing r = route(0.0, villain ? 0.34 : 0.37, 0.25, villain ? 0.3 : 0.24);
    Envelope envelope = makeEnvelope(0.008, 0.3, 0.75, 0.3, e.length);
    double phaseA = 0;
    double phaseB = 0.5;
    double stepA = 0;
    double stepB = 0;
    Filter filter;
    long total = soundingFrames(envelope);
    double vibratoRate = villain ? 6.5 : 5.5;
    double base = midiFrequency(e.midiNote) * sampleTime;
    for (long i = 0; i < total; ++i) {
        double t = i * sampleTime;
        // Pitch (with a vibrato that sets in after a moment) and filter move slowly enough to
        // be worked out every 16 frames.
        if (i % 16 == 0) {
            double depth = 0.22 * std::fmin(1.0, std::fmax(0.0, (t - 0.18) / 0.3));
            double bend = std::exp2(depth * std::sin(twoPi * vibratoRate * t) / 12.0);
            stepA = base * bend;
            stepB = stepA * 1.0034654;  // 6 cents up
            double cutoff = villain ? 1300.0 + 1200.0 * std::exp(-t / 0.2) : 2400.0 + 2200.0 * std::exp(-t / 0.15);
            tuneFilter(filter, cutoff, villain ? 0.45 : 0.25);
        }
        phaseA = advance(phaseA, stepA);
        phaseB = advance(phaseB, stepB);
        double tone;
        if (villain) {
            double width = 0.5 + 0.35 * std::sin(twoPi * 0.9 * t);
            tone = std::tanh(1.8 * (0.6 * squareWave(phaseA, stepA, width) + 0.5 * sawWave(phaseB, stepB))) * 0.8;
        } else {
            tone = 0.55 * sawWave(phaseA, stepA) + 0.35 * squareWave(phaseB, stepB, 0.5);
        }
        mixInto(buses, e.start + i, runFilter(filter, tone).low * nextLevel(envelope) * e.velocity, r);
    }
}

// A bell: two-operator FM whose brightness dies away faster than its tone, panned to one side
// and sent to the echo.
void renderBell(const NoteEvent& e, MixBuses& buses) {
    Routing r = route(e.pan, 0.16 * e.velocity, 0.4, 0.3);
    double frequency = midiFrequency(e.midiNote + 12);
    long total = std::min(framesFor(1.6), e.length + framesFor(0.8));
    double carrier = 0, modulator = 0;
    for (long i = 0; i < total; ++i) {
        double t = i * sampleTime;
        modulator = advance(modulator, 3.5 * frequency * sampleTime);
        double index = 2.2 * std::exp(-t / 0.12);
        carrier = advance(carrier, frequency * sampleTime);
        double tone = std::sin(twoPi * carrier + index * std::sin(twoPi * modulator));
        double level = std::exp(-t / 0.45) * std::fmin(1.0, t / 0.002) * tailFade(i, total, framesFor(0.2));
        mixInto(buses, e.start + i, tone * level, r);
    }
}

}  // namespace

MixBuses makeMixBuses(long frames) {
    size_t n = size_t(frames);
    return MixBuses{frames,
                    std::vector<float>(n),
                    std::vector<float>(n),
                    std::vector<float>(n),
                    std::vector<float>(n),
                    std::vector<float>(n),
                    std::vector<float>(n)};
}

void renderEvent(const NoteEvent& event, MixBuses& buses, uint32_t seed) {
    Noise noise{seed * 2654435761u + 0x2545f491u};
    if (noise.state == 0) noise.state = 1;
    switch (event.instrument) {
    case Instrument::kick: renderKick(event, buses, noise); break;
    case Instrument::snare: renderSnare(event, buses, noise); break;
    case Instrument::clap: renderClap(event, buses, noise); break;
    case Instrument::hat: renderHat(event, buses, noise, false); break;
    case Instrument::openHat: renderHat(event, buses, noise, true); break;
    case Instrument::tom: renderTom(event, buses); break;
    case Instrument::crash: renderWideNoise(event, buses, noise, false); break;
    case Instrument::riser: renderWideNoise(event, buses, noise, true); break;
    case Instrument::bass: renderBass(event, buses); break;
    case Instrument::pad: renderPad(event, buses); break;
    case Instrument::arp: renderArp(event, buses); break;
    case Instrument::lead: renderLead(event, buses, false); break;
    case Instrument::villainLead: renderLead(event, buses, true); break;
    case Instrument::bell: renderBell(event, buses); break;
    }
}
