// The song's singing voices: a line of the lyrics, spoken by the speech engine, is cut into
// syllables, the syllables are laid onto the notes of its melody (stretched, pitched, with
// slides and vibrato) and sung through the vocoder into the voice's mix buses.
#pragma once

#include <string>
#include <vector>

#include "song_instruments.h"

enum class Singer { hero, villain };

struct VoiceNote {
    long start;  // frames of the song
    long end;
    int midiNote;
};

struct SungLine {
    Singer singer;
    std::string text;
    std::string where;  // "FILE:LINE" of the lyric, for messages
    long slotStart;     // the frames the line may sound in: its bubble's time on screen
    long slotEnd;
    std::vector<VoiceNote> notes;  // the melody under the line, in order
    bool doubled;                  // sung twice, spread to the sides, and once an octave up
    double gainDb;                 // the voice's level here: half the section's level and its own
};

// When a syllable of a sung line sounds, in frames of the song: from its first consonant, with
// the mouth open until its closing consonants begin.
struct SyllableTiming {
    long start;
    long mouthClosed;
    bool stutters;  // its first moment is played three times over
};

// Sings the line into the buses and adds its syllables' timing to `timing` (which may be null);
// an empty string, or what went wrong.
std::string singLine(const SungLine& line, MixBuses& buses, std::vector<SyllableTiming>* timing);
