// The musical grid a choreography source declares (tempo, beats a bar, the row of bar 1), read
// from its declarations so that tools can name a row as BAR:BEAT the way the source does.
#pragma once

#include <string>

struct MusicalGrid {
    bool known = false;  // the source declares a tempo
    double tempo = 0.0;  // beats a minute
    int beatsPerBar = 4;
    double startRow = 0.0;  // row of bar 1, beat 1
};

// Reads the first tempo, beats-per-bar and start-row declarations of a source text; values that
// do not parse or lie out of range leave the grid unknown.
MusicalGrid readMusicalGrid(const std::string& sourceText);

// "BAR:BEAT" of a row (bar and beat counted from 1, the beat with two decimals when it is not
// whole); empty when the grid is unknown or the row lies before bar 1.
std::string barBeatText(const MusicalGrid& grid, double row);
