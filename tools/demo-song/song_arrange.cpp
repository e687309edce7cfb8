// Turning the score into note events: drums per step, bass and arpeggio lines over the bar's
// chord, held pad chords, and the lead melody in the section's voice.
#include "song_arrange.h"

#include <cmath>

#include "base/show_facts.h"

namespace {

struct SectionContext {
    const Score& score;
    const Section& section;
    double framesPerStep;
    std::vector<NoteEvent>& events;
};

long stepFrame(const SectionContext& context, long step) { return std::lround(double(step) * context.framesPerStep); }

// Places a pitch class in the octave that starts at `lowest`.
int inOctaveFrom(int pitchClass, int lowest) { return lowest + ((pitchClass - lowest % 12) % 12 + 12) % 12; }

const Chord& chordOfBar(const SectionContext& context, int bar) {
    const ChordProgression* progression = findProgression(context.score, context.section.chords);
    return progression->bars[size_t(bar - context.section.startBar) % progression->bars.size()];
}

double brightnessOfBar(const SectionContext& context, int bar) {
    const Section& s = context.section;
    double position = (bar - s.startBar + 0.5) / double(s.endBar - s.startBar);
    return s.filterFrom + (s.filterTo - s.filterFrom) * position;
}

void addDrumHits(const SectionContext& context, const DrumPattern& pattern, int bar) {
    static const struct {
        DrumVoice voice;
        Instrument instrument;
        double pan;
    } kits[] = {{DrumVoice::kick, Instrument::kick, 0.0},      {DrumVoice::snare, Instrument::snare, 0.05},
                {DrumVoice::clap, Instrument::clap, -0.05},    {DrumVoice::hat, Instrument::hat, 0.45},
                {DrumVoice::open, Instrument::openHat, -0.45}, {DrumVoice::tom, Instrument::tom, -0.3}};
    int offset = ((bar - context.section.startBar) * stepsPerBar) % pattern.steps;
    for (const DrumLine& line : pattern.lines) {
        for (int step = 0; step < stepsPerBar; ++step) {
            char hit = line.steps[size_t(offset + step)];
            if (hit == '.') continue;
            for (const auto& kit : kits) {
                if (kit.voice != line.voice) continue;
                long start = stepFrame(context, long(bar) * stepsPerBar + step);
                int tomNote = 45 + 5 * (step % 3);
                context.events.push_back(
                    NoteEvent{kit.instrument, start, 0, tomNote, hit == 'X' ? 1.0 : 0.72, kit.pan, 1.0});
            }
        }
    }
}

void addDrums(const SectionContext& context) {
    const Section& s = context.section;
    if (s.crash) {
        context.events.push_back(
            NoteEvent{Instrument::crash, stepFrame(context, long(s.startBar) * stepsPerBar), 0, 0, 1.0, 0, 1});
    }
    if (s.riser && s.endBar - s.startBar >= 2) {
        long start = stepFrame(context, long(s.endBar - 2) * stepsPerBar);
        long end = stepFrame(context, long(s.endBar) * stepsPerBar);
        context.events.push_back(NoteEvent{Instrument::riser, start, end - start, 0, 1.0, 0, 1});
    }
    for (int bar = s.startBar; bar < s.endBar; ++bar) {
        bool lastBar = bar == s.endBar - 1;
        bool turn = (bar - s.startBar) % 4 == 3 && !s.turnaround.empty();
        std::string name = lastBar && !s.fill.empty() ? s.fill : turn ? s.turnaround : s.drums;
        if (name == "-") continue;
        addDrumHits(context, *findDrums(context.score, name), bar);
    }
}

// A line of held notes: the pitch of each step comes from `pitchAt`, or one of these two;
// consecutive holds lengthen the note before.
constexpr int restStep = -1;
constexpr int holdStep = -2;

struct HeldLine {
    Instrument instrument;
    double velocity;
    double pan;
    bool alternatePan;
};

template <typename PitchAt>
void addHeldLine(const SectionContext& context, const HeldLine& line, PitchAt pitchAt) {
    const Section& s = context.section;
    long firstStep = long(s.startBar) * stepsPerBar;
    long lastStep = long(s.endBar) * stepsPerBar;
    NoteEvent current{line.instrument, 0, 0, -1, line.velocity, line.pan, 1.0};
    int notes = 0;
    auto finish = [&](long endStep) {
        if (current.midiNote < 0) return;
        current.length = stepFrame(context, endStep) - current.start;
        context.events.push_back(current);
        current.midiNote = -1;
    };
    for (long step = firstStep; step < lastStep; ++step) {
        int pitch = pitchAt(step - firstStep, int(step / stepsPerBar));
        if (pitch == holdStep) continue;
        finish(step);
        if (pitch == restStep) continue;
        current.start = stepFrame(context, step);
        current.midiNote = pitch;
        current.brightness = brightnessOfBar(context, int(step / stepsPerBar));
        current.pan = line.alternatePan ? (notes % 2 == 0 ? -0.6 : 0.6) : line.pan;
        ++notes;
    }
    finish(lastStep);
}

void addBass(const SectionContext& context) {
    if (context.section.bass == "-") return;
    const std::string& steps = findBassline(context.score, context.section.bass)->steps;
    addHeldLine(context, HeldLine{Instrument::bass, 0.9, 0.0, false}, [&](long step, int bar) {
        char c = steps[size_t(step) % steps.size()];
        const Chord& chord = chordOfBar(context, bar);
        if (c == '.') return holdStep;
        if (c == '-' || chord.silent) return restStep;
        int root = inOctaveFrom(chord.root, 36);
        if (c == 'O') return root + 12;
        if (c == 'F') return root + 7;
        if (c == 'T') return root + chord.tones[1];
        return root;
    });
}

void addArpeggio(const SectionContext& context) {
    if (context.section.arp == "-") return;
    const std::string& steps = findArpeggio(context.score, context.section.arp)->steps;
    addHeldLine(context, HeldLine{Instrument::arp, 0.8, 0.0, true}, [&](long step, int bar) {
        char c = steps[size_t(step) % steps.size()];
        const Chord& chord = chordOfBar(context, bar);
        if (c == '.') return holdStep;
        if (c == '-' || chord.silent) return restStep;
        int index = c - '1';
        int root = inOctaveFrom(chord.root, 57);
        return root + chord.tones[size_t(index % 3)] + 12 * (index / 3);
    });
}

bool sameChord(const Chord& a, const Chord& b) {
    return a.silent == b.silent && a.root == b.root && a.tones == b.tones;
}

// Pads hold each chord for as long as it lasts: bars with the same chord make one long note.
void addPad(const SectionContext& context) {
    const Section& s = context.section;
    if (!s.pad) return;
    int bar = s.startBar;
    while (bar < s.endBar) {
        const Chord& chord = chordOfBar(context, bar);
        int end = bar + 1;
        while (end < s.endBar && sameChord(chordOfBar(context, end), chord)) ++end;
        if (!chord.silent) {
            long start = stepFrame(context, long(bar) * stepsPerBar);
            long length = stepFrame(context, long(end) * stepsPerBar) - start;
            double brightness = brightnessOfBar(context, bar);
            context.events.push_back(
                NoteEvent{Instrument::pad, start, length, inOctaveFrom(chord.root, 43), 0.8, 0, brightness});
            for (int tone : chord.tones) {
                int note = inOctaveFrom((chord.root + tone) % 12, 55);
                context.events.push_back(NoteEvent{Instrument::pad, start, length, note, 1.0, 0, brightness});
            }
        }
        bar = end;
    }
}

// Whether someone sings in the bar: then the voice carries the tune.
bool sungInBar(const Section& s, int bar) {
    size_t slot = size_t((bar - s.startBar) / barsPerSungLine);
    return slot < s.sung.size() && !s.sung[slot].singer.empty();
}

// The lead: the hero, the villain an octave down, where no one sings; and where the section
// asks for it the tune doubled softly an octave up, under the voice too.
void addLead(const SectionContext& context) {
    const Section& s = context.section;
    if (s.lead.empty()) return;
    std::vector<MelodyStep> tune = sectionTune(context.score, s);
    for (int voice = 0; voice < 3; ++voice) {
        bool villain = voice == 1;
        bool octaveUp = voice == 2;
        if (octaveUp && !s.doubled) continue;
        Instrument instrument = villain ? Instrument::villainLead : Instrument::lead;
        addHeldLine(context, HeldLine{instrument, octaveUp ? 0.4 : 0.85, 0.0, false}, [&](long step, int bar) {
            const MelodyStep& m = tune[size_t(step) % tune.size()];
            bool villainTurn =
                s.voice == LeadVoice::villain || (s.voice == LeadVoice::turns && ((bar - s.startBar) / 2) % 2 == 1);
            // Each voice plays only its own turns; a note held into the other's turn ends there.
            if (!octaveUp && (villainTurn != villain || sungInBar(s, bar))) return restStep;
            if (m.kind == MelodyStep::hold) return holdStep;
            if (m.kind == MelodyStep::rest) return restStep;
            return villain ? m.midiNote - 12 : octaveUp ? m.midiNote + 12 : m.midiNote;
        });
    }
}

// A second tune, a bell an octave over the counter melody's notes, answering the voice.
void addCounter(const SectionContext& context) {
    const Section& s = context.section;
    if (s.counter == "-") return;
    const std::vector<MelodyStep>& tune = findMelody(context.score, s.counter)->steps;
    addHeldLine(context, HeldLine{Instrument::bell, 0.6, 0.45, false}, [&](long step, int) {
        const MelodyStep& m = tune[size_t(step) % tune.size()];
        if (m.kind == MelodyStep::hold) return holdStep;
        if (m.kind == MelodyStep::rest) return restStep;
        return m.midiNote;
    });
}

// Every pitched part of the section moved by its transposition (the drums keep their tuning).
void transposeSection(const Section& s, std::vector<NoteEvent>& events, size_t first) {
    for (size_t i = first; i < events.size(); ++i) {
        Instrument k = events[i].instrument;
        bool pitched = k == Instrument::bass || k == Instrument::pad || k == Instrument::arp || k == Instrument::lead ||
                       k == Instrument::villainLead || k == Instrument::bell;
        if (pitched) events[i].midiNote += s.transpose;
    }
}

// The section's level (dB, moving across the section like its filter) scales every note that
// starts in it; tails carry on at the level their note started with.
void applySectionLevel(const SectionContext& context, std::vector<NoteEvent>& events, size_t first) {
    const Section& s = context.section;
    double startFrame = double(s.startBar) * stepsPerBar * context.framesPerStep;
    double frames = double(s.endBar - s.startBar) * stepsPerBar * context.framesPerStep;
    for (size_t i = first; i < events.size(); ++i) {
        double position = std::fmin(1.0, std::fmax(0.0, (double(events[i].start) - startFrame) / frames));
        double db = s.levelFrom + (s.levelTo - s.levelFrom) * position;
        events[i].velocity *= std::pow(10.0, db / 20.0);
    }
}

}  // namespace

std::vector<MelodyStep> sectionTune(const Score& score, const Section& section) {
    std::vector<MelodyStep> tune;
    for (const std::string& name : section.lead) {
        const Melody* melody = findMelody(score, name);
        tune.insert(tune.end(), melody->steps.begin(), melody->steps.end());
    }
    return tune;
}

long barStartFrame(const Score& score, double bar) {
    double framesPerStep = songOutputRate * 60.0 / score.tempo / 4.0;
    return std::lround(bar * stepsPerBar * framesPerStep);
}

Arrangement arrangeScore(const Score& score) {
    Arrangement arrangement{{},
                            barStartFrame(score, score.endBar),
                            songOutputRate * 60.0 / score.tempo / 4.0,
                            barStartFrame(score, score.fadeFromBar),
                            barStartFrame(score, score.fadeToBar)};
    for (const Section& section : score.sections) {
        SectionContext context{score, section, arrangement.framesPerStep, arrangement.events};
        size_t first = arrangement.events.size();
        addDrums(context);
        addBass(context);
        addArpeggio(context);
        addPad(context);
        addLead(context);
        addCounter(context);
        transposeSection(section, arrangement.events, first);
        applySectionLevel(context, arrangement.events, first);
    }
    return arrangement;
}
