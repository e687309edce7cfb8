// Speech for the song's voice: eSpeak NG speaks a line of the lyrics and reports its phonemes
// with where each starts in the sound, so the voice can lay the syllables onto notes.
#pragma once

#include <string>
#include <vector>

enum class PhonemeKind { vowel, voiced, unvoiced, pause };

struct Phoneme {
    std::string name;  // eSpeak's mnemonic ("aI", "S", "_:")
    PhonemeKind kind;
    long start;  // first sample
    long end;    // one past the last
    int word;    // which word of the line it belongs to, from 0
};

struct Speech {
    int rate = 0;                // samples a second
    std::vector<float> samples;  // mono, -1 .. 1
    std::vector<Phoneme> phonemes;
    std::string error;  // empty when the line was spoken
};

// The speaking voices: eSpeak voice names with a variant ("en-us+f2").
Speech speakLine(const std::string& text, const std::string& voice);
