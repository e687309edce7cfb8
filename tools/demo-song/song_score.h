// The song's score as demo-song reads it from show/score.txt: tempo, chord progressions, drum,
// bass and arpeggio patterns, melodies and the sections that arrange them. Parsing checks
// every line and reports the first problem with the file and line.
#pragma once

#include <string>
#include <vector>

constexpr int stepsPerBar = 16;

enum class DrumVoice { kick, snare, clap, hat, open, tom };

struct Chord {
    bool silent;             // "-": nothing plays in this bar
    int root;                // pitch class, 0 = C
    std::vector<int> tones;  // intervals above the root in semitones, root first
};

struct ChordProgression {
    std::string name;
    int line;  // where it is defined in the score, for messages
    std::vector<Chord> bars;
};

struct DrumLine {
    DrumVoice voice;
    std::string steps;  // 'x', 'X' or '.', spaces removed
};

struct DrumPattern {
    std::string name;
    int line;  // where it is defined in the score, for messages
    std::vector<DrumLine> lines;
    int steps;  // the same for every line, a whole number of bars
};

// Bass and arpeggio patterns: one character a step, spaces removed.
struct StepPattern {
    std::string name;
    int line;  // where it is defined in the score, for messages
    std::string steps;
};

// A melody step: a MIDI note that starts, a hold of the note before, or a rest.
struct MelodyStep {
    enum Kind { note, hold, rest } kind;
    int midiNote;
};

struct Melody {
    std::string name;
    int line;                       // where it is defined in the score, for messages
    std::vector<MelodyStep> steps;  // 16 a bar
};

enum class LeadVoice { hero, villain, turns };

// Two bars of a section's singing: who sings ("good" for Pip, "evil" for Count Glitch, as the
// lyrics tag their lines) which of their lines (from 1), or no one (an empty singer).
struct SungSlot {
    std::string singer;
    int line;
};
constexpr int barsPerSungLine = 2;

// A part of the song; what a section line does not set keeps the value given here. The score
// counts bars from 1, as the choreography does; in here they count from 0 (bar 0 starts at the
// song's first frame): startBar is the score's bar less 1.
struct Section {
    std::string name;
    int line = 0;  // where it is defined in the score, for messages
    int startBar = 0;
    int endBar = 0;  // the next section's start, or the song's end
    std::string chords;
    std::string drums = "-";  // "-" for none
    std::string bass = "-";
    std::string arp = "-";
    std::vector<std::string> lead;  // empty for none
    std::string counter = "-";      // a second tune under the lead, "-" for none
    std::string fill;               // empty for none
    std::string turnaround;         // drums for the last bar of every four; empty for none
    int transpose = 0;              // semitones, every pitched part
    std::vector<SungSlot> sung;     // two bars each from the section's start
    int singLine = 0;               // where the section's "sing=" is, for messages
    double vocalDb = 0;             // the voice's own level in the section, over the band's
    LeadVoice voice = LeadVoice::hero;
    bool pad = false;
    bool crash = false;
    bool riser = false;
    bool doubled = false;  // the tune doubled an octave up, and the voice double-tracked
    double filterFrom = 1.0;
    double filterTo = 1.0;
    double levelFrom = 0;  // dB on every note of the section, moving from one to the other
    double levelTo = 0;
};

struct Score {
    double tempo;
    int endBar;  // the score's last bar (from 1), so the song stops where bar endBar (from 0) starts
    // The whole song fades out between these bars (from 0) and is silent after; without a
    // "fade" line it fades over the last 3/4 bar.
    double fadeFromBar;
    double fadeToBar;
    int fadeLine;  // where the "fade" line is, or 0
    std::vector<ChordProgression> progressions;
    std::vector<DrumPattern> drums;
    std::vector<StepPattern> basslines;
    std::vector<StepPattern> arpeggios;
    std::vector<Melody> melodies;
    std::vector<Section> sections;
    std::string path;  // the file it was read from, for messages
};

struct ScoreResult {
    Score score;
    std::string error;  // "FILE:LINE: what is wrong", or empty
};

ScoreResult readScore(const std::string& path);

// Lookups by name; null when there is no such pattern.
const ChordProgression* findProgression(const Score& score, const std::string& name);
const DrumPattern* findDrums(const Score& score, const std::string& name);
const StepPattern* findBassline(const Score& score, const std::string& name);
const StepPattern* findArpeggio(const Score& score, const std::string& name);
const Melody* findMelody(const Score& score, const std::string& name);
