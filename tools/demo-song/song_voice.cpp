// Singing a line: syllables from the speech engine's phonemes, fitted to the melody's notes,
// then sung sample by sample through the vocoder with the melody's pitch.
#include "song_voice.h"

#include <algorithm>
#include <cmath>

#include "base/show_facts.h"
#include "song_noise.h"
#include "song_speech.h"
#include "song_vocoder.h"

namespace {

// Each singer: the speaking voice, how far the formants are moved (below 1 darker and bigger),
// the vibrato, and where the voice goes in the mix. The villain glitches: now and then a
// syllable stutters, crushed to a few bits, and every other line ends in a tape stop.
struct SingerStyle {
    const char* speakingVoice;
    double formantScale;
    double vibratoDepth;  // semitones
    double vibratoRate;   // Hz
    double breath;        // noise under the voiced sounds, 0 .. 1
    bool glitches;
    double level;
    double delay;
    double reverb;
    double notchHz;  // a cut of 4 dB where the speaking voice rings on every vowel; 0 for none
};

const SingerStyle heroStyle{"en-us+f2", 1.04, 0.28, 5.4, 0.16, false, 1.3, 0.1, 0.24, 4300.0};
const SingerStyle villainStyle{"en-us+m3", 0.84, 0.2, 4.6, 0.05, true, 2.0, 0.06, 0.28, 0.0};

// One pass of singing a line: the pitch over the notes, this line's own vibrato (no two lines
// sing a held note quite alike), the noise's seed, and for the villain where he glitches.
struct Take {
    double transpose;  // semitones
    double vibratoDepth;
    double vibratoRate;
    uint32_t seed;
    bool glitches;
    bool tapeStop;  // the line's last syllable falls away in pitch
};

// A syllable of the spoken line, in samples of the speech: the consonants before its vowel,
// the vowel, and the consonants after it.
struct Syllable {
    long onsetStart;
    long nucleusStart;
    long nucleusEnd;
    long codaEnd;
};

bool isConsonant(const Phoneme& p) { return p.kind == PhonemeKind::voiced || p.kind == PhonemeKind::unvoiced; }

// Where the consonants between two vowels divide: a pause divides them, then a word's start;
// within a word the last consonant begins the next syllable.
size_t splitBetween(const std::vector<Phoneme>& phonemes, size_t vowelA, size_t vowelB) {
    for (size_t j = vowelB; j-- > vowelA + 1;) {
        if (phonemes[j].kind == PhonemeKind::pause) return j + 1;
    }
    for (size_t j = vowelA + 1; j < vowelB; ++j) {
        if (phonemes[j].word != phonemes[vowelA].word) return j;
    }
    return vowelB > vowelA + 1 ? vowelB - 1 : vowelB;
}

std::vector<Syllable> syllablesOf(const std::vector<Phoneme>& phonemes) {
    std::vector<size_t> vowels;
    for (size_t i = 0; i < phonemes.size(); ++i) {
        if (phonemes[i].kind == PhonemeKind::vowel) vowels.push_back(i);
    }
    std::vector<Syllable> syllables;
    for (size_t v = 0; v < vowels.size(); ++v) {
        size_t first = vowels[v];
        if (v == 0) {
            while (first > 0 && isConsonant(phonemes[first - 1])) --first;
        } else {
            first = splitBetween(phonemes, vowels[v - 1], vowels[v]);
        }
        size_t last = vowels[v];  // the last phoneme of the syllable
        if (v + 1 == vowels.size()) {
            while (last + 1 < phonemes.size() && isConsonant(phonemes[last + 1])) ++last;
        } else {
            size_t next = splitBetween(phonemes, vowels[v], vowels[v + 1]);
            while (last + 1 < next && isConsonant(phonemes[last + 1])) ++last;
        }
        const Phoneme& vowel = phonemes[vowels[v]];
        syllables.push_back(Syllable{phonemes[first].start, vowel.start, vowel.end, phonemes[last].end});
    }
    return syllables;
}

// Lays `count` syllables onto the notes: while there are too few notes the longest is split in
// two; while there are too many, the shortest joins the note before it, and its syllable slides
// from one pitch to the other. Each syllable gets the notes it is sung on.
std::vector<std::vector<VoiceNote>> fitNotes(const std::vector<VoiceNote>& melody, size_t count) {
    std::vector<std::vector<VoiceNote>> sung;
    for (const VoiceNote& note : melody) sung.push_back({note});
    auto length = [](const std::vector<VoiceNote>& notes) { return notes.back().end - notes.front().start; };
    while (!sung.empty() && sung.size() < count) {
        size_t longest = 0;
        for (size_t i = 1; i < sung.size(); ++i) {
            if (length(sung[i]) > length(sung[longest])) longest = i;
        }
        std::vector<VoiceNote> whole = sung[longest];
        long middle = whole.front().start + length(whole) / 2;
        std::vector<VoiceNote> first, second;
        for (const VoiceNote& note : whole) {
            if (note.start < middle) first.push_back(VoiceNote{note.start, std::min(note.end, middle), note.midiNote});
            if (note.end > middle) second.push_back(VoiceNote{std::max(note.start, middle), note.end, note.midiNote});
        }
        sung[longest] = first;
        sung.insert(sung.begin() + long(longest) + 1, second);
    }
    while (sung.size() > count && sung.size() > 1) {
        size_t shortest = 1;
        for (size_t i = 2; i < sung.size(); ++i) {
            if (length(sung[i]) < length(sung[shortest])) shortest = i;
        }
        sung[shortest - 1].insert(sung[shortest - 1].end(), sung[shortest].begin(), sung[shortest].end());
        sung.erase(sung.begin() + long(shortest));
    }
    return sung;
}

// A piecewise-linear map from the time of the song (in samples of the sung line) to the time
// of the speech.
struct Warp {
    std::vector<double> out;
    std::vector<double> in;
};

void addPoint(Warp& warp, double out, double in) {
    if (!warp.out.empty() && out <= warp.out.back()) return;
    warp.out.push_back(out);
    warp.in.push_back(in);
}

double warpAt(const Warp& warp, double out) {
    if (out <= warp.out.front()) return warp.in.front();
    for (size_t i = 1; i < warp.out.size(); ++i) {
        if (out <= warp.out[i]) {
            double mix = (out - warp.out[i - 1]) / (warp.out[i] - warp.out[i - 1]);
            return warp.in[i - 1] + mix * (warp.in[i] - warp.in[i - 1]);
        }
    }
    return warp.in.back();
}

// A syllable's plan in samples of the sung line: when it sounds, how its speech is stretched
// over that time, and the notes it sings.
struct SungSyllable {
    double start;
    double end;
    Warp warp;
    std::vector<VoiceNote> notes;  // in samples of the sung line
    bool stutters;                 // its first moment is played three times over
};

double midiFrequency(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// The consonants before the vowel start ahead of the note, as a singer's do; the vowel holds
// the note (its start and end at speaking speed, its middle stretched), and the consonants
// after it close the note.
std::vector<SungSyllable> planSyllables(const std::vector<Syllable>& syllables,
                                        const std::vector<std::vector<VoiceNote>>& notes, double rate, double floor,
                                        double ceiling) {
    std::vector<SungSyllable> plan;
    size_t count = std::min(syllables.size(), notes.size());
    std::vector<double> onsets(count);
    for (size_t i = 0; i < count; ++i) {
        double natural = double(syllables[i].nucleusStart - syllables[i].onsetStart);
        double room = i == 0 ? double(notes[i].front().start) - floor
                             : 0.5 * double(notes[i].front().start - notes[i - 1].front().start);
        onsets[i] = std::max(0.0, std::min({natural, 0.12 * rate, room}));
    }
    for (size_t i = 0; i < count; ++i) {
        const Syllable& s = syllables[i];
        double noteStart = double(notes[i].front().start);
        double start = std::max(noteStart - onsets[i], floor);
        double vowelStart = std::max(noteStart, start + 0.5 * onsets[i]);
        double end = double(notes[i].back().end);
        if (i + 1 < count) end = std::min(end, double(notes[i + 1].front().start) - onsets[i + 1]);
        end = std::min(end, ceiling);
        if (end <= vowelStart + 0.02 * rate) continue;
        double coda = std::min({double(s.codaEnd - s.nucleusEnd), 0.12 * rate, 0.3 * (end - vowelStart)});
        double vowelEnd = end - coda;
        SungSyllable sung{start, end, {}, notes[i], false};
        addPoint(sung.warp, start, double(s.onsetStart));
        addPoint(sung.warp, vowelStart, double(s.nucleusStart));
        double spoken = double(s.nucleusEnd - s.nucleusStart);
        double held = vowelEnd - vowelStart;
        if (held > spoken) {
            addPoint(sung.warp, vowelStart + 0.3 * spoken, s.nucleusStart + 0.3 * spoken);
            addPoint(sung.warp, vowelEnd - 0.3 * spoken, s.nucleusEnd - 0.3 * spoken);
        }
        addPoint(sung.warp, vowelEnd, double(s.nucleusEnd));
        addPoint(sung.warp, end, double(s.codaEnd));
        plan.push_back(sung);
    }
    return plan;
}

// The kind of the phoneme sounding at a position of the speech (the phonemes are in order).
PhonemeKind kindAt(const std::vector<Phoneme>& phonemes, double position) {
    auto after = std::upper_bound(phonemes.begin(), phonemes.end(), position,
                                  [](double at, const Phoneme& p) { return at < double(p.start); });
    if (after == phonemes.begin()) return PhonemeKind::pause;
    const Phoneme& p = *(after - 1);
    return position < double(p.end) ? p.kind : PhonemeKind::pause;
}

double voicingOf(PhonemeKind kind) {
    switch (kind) {
    case PhonemeKind::vowel: return 1.0;
    case PhonemeKind::voiced: return 0.75;
    case PhonemeKind::unvoiced: return 0.0;
    case PhonemeKind::pause: return 0.0;
    }
    return 0.0;
}

double whiteNoise(Noise& noise) { return nextNoise(noise) * 1.7320508; }  // unit variance

// The target pitch (a MIDI note) at a time: the note sounding then, or the nearest one.
double targetPitch(const SungSyllable& s, double at) {
    for (const VoiceNote& note : s.notes) {
        if (at < double(note.end)) return note.midiNote;
    }
    return s.notes.back().midiNote;
}

double noteStartBefore(const SungSyllable& s, double at) {
    double found = double(s.notes.front().start);
    for (const VoiceNote& note : s.notes) {
        if (double(note.start) <= at) found = double(note.start);
    }
    return found;
}

// A chain of second-order allpass filters that smears each glottal pulse over a millisecond or
// two: the spectrum stays as it is, but the wave loses the needle-sharp peaks that a bare pulse
// train leaves after the vocal tract (which would make the mix's limiter duck on every vowel).
struct Dispersion {
    double b0[3], b1[3];  // each section: (b0 + b1 z^-1 + z^-2) / (1 + b1 z^-1 + b0 z^-2)
    double x1[3] = {}, x2[3] = {}, y1[3] = {}, y2[3] = {};
};

Dispersion makeDispersion(double rate) {
    const double centres[3] = {600.0, 1500.0, 3200.0};
    Dispersion d;
    for (int k = 0; k < 3; ++k) {
        double w = 2.0 * M_PI * centres[k] / rate;
        double alpha = std::sin(w) / (2.0 * 0.9);
        double a0 = 1.0 + alpha;
        d.b0[k] = (1.0 - alpha) / a0;
        d.b1[k] = -2.0 * std::cos(w) / a0;
    }
    return d;
}

double disperse(Dispersion& d, double x) {
    for (int k = 0; k < 3; ++k) {
        double y = d.b0[k] * x + d.b1[k] * d.x1[k] + d.x2[k] - d.b1[k] * d.y1[k] - d.b0[k] * d.y2[k];
        d.x2[k] = d.x1[k];
        d.x1[k] = x;
        d.y2[k] = d.y1[k];
        d.y1[k] = y;
        x = y;
    }
    return x;
}

// Cuts 4 dB around `centre` (a peaking filter, Q 2): the speaking voice's own resonance there
// rings through every vowel once the pitch is held.
void cutResonance(std::vector<float>& sung, double rate, double centre) {
    if (centre <= 0 || centre >= 0.45 * rate) return;
    const double w = 2.0 * M_PI * centre / rate;
    const double a = std::pow(10.0, -4.0 / 40.0);
    const double alpha = std::sin(w) / (2.0 * 2.0);
    const double a0 = 1.0 + alpha / a;
    const double b0 = (1.0 + alpha * a) / a0, b1 = -2.0 * std::cos(w) / a0, b2 = (1.0 - alpha * a) / a0;
    const double a2 = (1.0 - alpha / a) / a0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (float& sample : sung) {
        double y = b0 * sample + b1 * x1 + b2 * x2 - b1 * y1 - a2 * y2;
        x2 = x1;
        x1 = sample;
        y2 = y1;
        y1 = y;
        sample = float(y);
    }
}

// A singer's compressor: peaks more than 12 dB over the line's own RMS (a burst of a plosive, a
// resonance that rings up) are brought down to it, with a millisecond's look-ahead and a quick
// release, so the line's level is even and its peaks do not reach the mix's limiter.
void evenOutPeaks(std::vector<float>& sung, double rate) {
    double sum = 0;
    size_t sounding = 0;
    for (float sample : sung) {
        sum += double(sample) * sample;
        sounding += sample != 0.0f;
    }
    if (sounding == 0) return;
    const double ceiling = 4.0 * std::sqrt(sum / double(sounding));
    const long ahead = std::max(1L, long(0.001 * rate));
    const double release = 1.0 - std::exp(-1.0 / (0.05 * rate));
    long count = long(sung.size());
    std::vector<float> needed(sung.size(), 1.0f);
    for (long i = 0; i < count; ++i) {
        double size = std::fabs(double(sung[size_t(i)]));
        if (size <= ceiling) continue;
        for (long j = std::max(0L, i - ahead); j <= i; ++j)
            needed[size_t(j)] = std::min(needed[size_t(j)], float(ceiling / size));
    }
    double gain = 1.0;
    for (long i = 0; i < count; ++i) {
        gain = std::min(double(needed[size_t(i)]), gain + (1.0 - gain) * release);
        sung[size_t(i)] = float(sung[size_t(i)] * gain);
    }
}

// Lifts what lies above about 4.5 kHz by up to 6 dB (a first-order shelf), so that the voice
// has air over the band.
void addAir(std::vector<float>& sung, double rate) {
    const double pole = std::exp(-2.0 * M_PI * 4500.0 / rate);
    double low = 0;
    for (float& sample : sung) {
        low = (1.0 - pole) * sample + pole * low;
        sample = float(sample + (sample - low));
    }
}

// Sings the planned syllables at the speech's own rate; returns the sung line, which starts at
// the line's first frame.
std::vector<float> singSyllables(const std::vector<SungSyllable>& plan, const Speech& speech, const SingerStyle& style,
                                 const Take& take, double length) {
    std::vector<EnvelopeFrame> frames = analyseSpeech(speech.samples);
    std::vector<float> sung(size_t(std::max(0.0, length)), 0.0f);
    VocalTract tract;
    Noise noise{take.seed | 1u};
    Dispersion dispersion = makeDispersion(speech.rate * style.formantScale);
    double rate = speech.rate * style.formantScale;  // the line's samples a second, once resampled
    double pitch = -1;
    double phase = 0;
    double carried = 0;
    double voicing = 0;
    const double glide = 1.0 - std::exp(-1.0 / (0.018 * rate));
    const double voicingGlide = 1.0 - std::exp(-1.0 / (0.006 * rate));
    const double grain = 0.055 * rate;  // a stutter's length
    double previousEnd = -1e9;
    for (const SungSyllable& s : plan) {
        bool lastSyllable = &s == &plan.back();
        long first = long(std::ceil(s.start));
        long last = std::min(long(s.end), long(sung.size()));
        // After a rest the voice scoops up into its note; between notes it slides.
        if (s.start - previousEnd > 0.08 * rate || pitch < 0) pitch = targetPitch(s, s.start) - 0.8;
        previousEnd = s.end;
        for (long n = first; n < last; ++n) {
            double t = double(n);
            bool stuttering = s.stutters && t < s.start + 3.0 * grain;
            double position = warpAt(s.warp, stuttering ? s.start + std::fmod(t - s.start, grain) : t);
            EnvelopeFrame envelope = envelopeAt(frames, position);
            pitch += (targetPitch(s, t) + take.transpose - pitch) * glide;
            double held = (t - noteStartBefore(s, t)) / rate;
            double depth = take.vibratoDepth * std::clamp((held - 0.16) / 0.25, 0.0, 1.0);
            double semitones = pitch + depth * std::sin(2.0 * M_PI * take.vibratoRate * held);
            if (take.tapeStop && lastSyllable) {
                double falling = std::clamp((t - (s.end - 0.3 * rate)) / (0.3 * rate), 0.0, 1.0);
                semitones -= 9.0 * falling * falling;
            }
            double step = midiFrequency(semitones) / rate;
            voicing += (voicingOf(kindAt(speech.phonemes, position)) - voicing) * voicingGlide;
            // A pulse a period, of unit power a sample, shared between the two samples around
            // the moment it falls on so that its timing is exact.
            phase += step;
            double pulse = carried;
            carried = 0;
            if (phase >= 1.0) {
                phase -= std::floor(phase);
                double late = std::min(1.0, phase / step);
                pulse += (1.0 - late) * std::sqrt(1.0 / step);
                carried = late * std::sqrt(1.0 / step);
            }
            double breath = std::max(1.0 - voicing, style.breath);
            double excitation = envelope.level * (voicing * disperse(dispersion, pulse) + breath * whiteNoise(noise));
            double edge = std::min({1.0, (t - s.start) / (0.004 * rate), (s.end - t) / (0.015 * rate)});
            if (stuttering) edge *= std::min(1.0, (grain - std::fmod(t - s.start, grain)) / (0.004 * rate));
            double sample = runVocalTract(tract, envelope, excitation) * std::max(0.0, edge);
            if (stuttering) sample = std::round(sample * 6.0) / 6.0;  // crushed to a few levels
            sung[size_t(n)] = float(sample);
        }
    }
    cutResonance(sung, rate, style.notchHz);
    addAir(sung, rate);
    evenOutPeaks(sung, rate);
    return sung;
}

// Windowed-sinc interpolation of the sung line (at `rate` samples a second) into the song's
// frames: 24 taps (a Blackman window), their weights tabled for 256 fractions of a sample and
// interpolated between them.
constexpr int resampleTaps = 12;  // on each side
constexpr int resamplePhases = 256;

struct ResampleTable {
    float weights[resamplePhases + 1][2 * resampleTaps];
};

double windowedSinc(double x) {
    double sinc = std::fabs(x) < 1e-9 ? 1.0 : std::sin(M_PI * x) / (M_PI * x);
    return sinc * (0.42 + 0.5 * std::cos(M_PI * x / resampleTaps) + 0.08 * std::cos(2.0 * M_PI * x / resampleTaps));
}

const ResampleTable& resampleTable() {
    static const ResampleTable table = [] {
        ResampleTable t;
        for (int p = 0; p <= resamplePhases; ++p) {
            for (int k = 0; k < 2 * resampleTaps; ++k) {
                t.weights[p][k] = float(windowedSinc(double(p) / resamplePhases - double(k - resampleTaps + 1)));
            }
        }
        return t;
    }();
    return table;
}

double resampledAt(const std::vector<float>& line, double position) {
    const ResampleTable& table = resampleTable();
    long centre = long(std::floor(position));
    double phase = (position - double(centre)) * resamplePhases;
    int p = std::min(int(phase), resamplePhases - 1);
    double mix = phase - p;
    double sum = 0;
    for (int k = 0; k < 2 * resampleTaps; ++k) {
        long i = centre + k - resampleTaps + 1;
        if (i < 0 || i >= long(line.size())) continue;
        double weight = table.weights[p][k] + mix * (table.weights[p + 1][k] - table.weights[p][k]);
        sum += line[size_t(i)] * weight;
    }
    return sum;
}

}  // namespace

namespace {

uint32_t mixed(uint32_t value) {
    value ^= value >> 16;
    value *= 0x7feb352du;
    value ^= value >> 15;
    value *= 0x846ca68bu;
    return value ^ (value >> 16);
}

// Adds a take, resampled to the song's rate, to the buses at the pan and level given.
void mixTake(const SungLine& line, const std::vector<float>& sung, double perFrame, double pan, double level,
             const SingerStyle& style, MixBuses& buses) {
    double angle = (pan + 1.0) * M_PI * 0.25;
    double left = level * std::cos(angle) * M_SQRT2;
    double right = level * std::sin(angle) * M_SQRT2;
    for (long frame = std::max(0L, line.slotStart); frame < line.slotEnd && frame < buses.frames; ++frame) {
        double sample = resampledAt(sung, double(frame - line.slotStart) * perFrame);
        size_t i = size_t(frame);
        buses.dryLeft[i] += float(sample * left);
        buses.dryRight[i] += float(sample * right);
        buses.delaySend[i] += float(sample * level * style.delay);
        buses.reverbSend[i] += float(sample * level * style.reverb);
    }
}

// The plan's syllables in frames of the song; the mouth closes where the vowel ends (the
// warp's last point but one).
void addTiming(const SungLine& line, const std::vector<SungSyllable>& plan, double perFrame,
               std::vector<SyllableTiming>* timing) {
    if (!timing) return;
    for (const SungSyllable& s : plan) {
        double vowelEnd = s.warp.out.size() >= 2 ? s.warp.out[s.warp.out.size() - 2] : s.end;
        timing->push_back(SyllableTiming{line.slotStart + long(s.start / perFrame),
                                         line.slotStart + long(vowelEnd / perFrame), s.stutters});
    }
}

}  // namespace

std::string singLine(const SungLine& line, MixBuses& buses, std::vector<SyllableTiming>* timing) {
    const SingerStyle& style = line.singer == Singer::hero ? heroStyle : villainStyle;
    Speech speech = speakLine(line.text, style.speakingVoice);
    if (!speech.error.empty()) return line.where + ": " + speech.error;
    std::vector<Syllable> syllables = syllablesOf(speech.phonemes);
    if (syllables.empty()) return line.where + ": the line has no syllable to sing";
    if (line.notes.empty()) return line.where + ": there are no notes to sing the line on";
    // The line is sung at the speech's rate scaled by the formant shift, then resampled to the
    // song's rate: times and pitches are worked out in the line's own samples.
    double rate = speech.rate * style.formantScale;
    double perFrame = rate / songOutputRate;
    std::vector<VoiceNote> notes;
    for (const VoiceNote& note : line.notes) {
        notes.push_back(VoiceNote{long(double(note.start - line.slotStart) * perFrame),
                                  long(double(note.end - line.slotStart) * perFrame), note.midiNote});
    }
    double length = double(line.slotEnd - line.slotStart) * perFrame;
    double floor = 0.03 * rate;
    double ceiling = length - 0.3 * rate;  // the echo has died down before the bubble goes
    std::vector<SungSyllable> plan = planSyllables(syllables, fitNotes(notes, syllables.size()), rate, floor, ceiling);
    uint32_t seed = mixed(uint32_t(line.slotStart) + (line.singer == Singer::hero ? 0u : 0x51ed27u));
    if (style.glitches) {
        // Never the line's first syllable: the line is heard for what it says before it breaks up.
        for (size_t i = 1; i + 1 < plan.size(); ++i) plan[i].stutters = mixed(seed + uint32_t(i)) % 4 == 0;
    }
    Take take{0.0,
              style.vibratoDepth * (0.85 + 0.3 * double(seed % 101) / 100.0),
              style.vibratoRate * (0.92 + 0.16 * double(mixed(seed) % 101) / 100.0),
              seed,
              style.glitches,
              style.glitches && seed % 2 == 0};
    addTiming(line, plan, perFrame, timing);
    std::vector<float> sung = singSyllables(plan, speech, style, take, length);
    double level = style.level * std::pow(10.0, line.gainDb / 20.0);
    if (!line.doubled) {
        mixTake(line, sung, perFrame, 0.0, level, style, buses);
        return "";
    }
    // Doubled: the voice on both sides a little apart, and an octave over it, softer.
    Take second = take;
    second.seed = mixed(seed + 1);
    second.vibratoRate *= 1.07;
    mixTake(line, sung, perFrame, -0.35, level * 0.6, style, buses);
    mixTake(line, singSyllables(plan, speech, style, second, length), perFrame, 0.35, level * 0.6, style, buses);
    second.transpose = 12.0;
    second.seed = mixed(seed + 2);
    mixTake(line, singSyllables(plan, speech, style, second, length), perFrame, 0.0, level * 0.3, style, buses);
    return "";
}
