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

// Reads the grid a choreography source declares. False with the reason when the file cannot be
// read; a source without a usable tempo gives a grid that is not known.
bool readSourceGrid(const std::string& path, MusicalGrid* grid, std::string* problem);

// Rows in a beat and in a bar of the grid; 12 and 48 (four beats at 120 a minute) when the grid
// is not known.
double rowsPerBeat(const MusicalGrid& grid);
double rowsPerBar(const MusicalGrid& grid);

// A time on the show's clock: a row ("1200", "12.5"), seconds with an s ("50s") or, on a known
// grid, BAR:BEAT counted from 1 ("26:1", "26:2.5"). Plain decimals only (no sign, exponent or
// words); false when the text does not parse or the row lies outside 0 .. maxRow.
bool parseShowTime(const char* text, const MusicalGrid& grid, double maxRow, double* row);

// "BAR:BEAT" of a row (bar and beat counted from 1, the beat with two decimals when it is not
// whole); empty when the grid is unknown or the row lies before bar 1.
std::string barBeatText(const MusicalGrid& grid, double row);
