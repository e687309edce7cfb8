// From score to notes: walks the sections bar by bar and turns chords, patterns and melodies
// into a list of timed note events for the instruments.
#pragma once

#include <vector>

#include "song_score.h"

enum class Instrument { kick, snare, clap, hat, openHat, tom, crash, riser, bass, pad, arp, lead, villainLead, bell };

struct NoteEvent {
    Instrument instrument;
    long start;         // first frame
    long length;        // frames the note is held; drums ring for their own length
    int midiNote;       // pitch for the pitched instruments (and the tom)
    double velocity;    // 0 .. 1
    double pan;         // -1 left .. 1 right
    double brightness;  // 0 dark .. 1 open, for the filtered instruments
};

struct Arrangement {
    std::vector<NoteEvent> events;
    long totalFrames;
    double framesPerStep;
    long fadeStart;  // the mix fades out from here to fadeEnd and is silent after
    long fadeEnd;
};

Arrangement arrangeScore(const Score& score);

// The section's tune: its lead melodies one after another (played round and round across the
// section by the lead synth, and sung by the voices).
std::vector<MelodyStep> sectionTune(const Score& score, const Section& section);

// The frame at which a bar (or a point within one) starts.
long barStartFrame(const Score& score, double bar);
