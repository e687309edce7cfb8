// The musical grid a choreography source declares (tempo, beats a bar, the row of bar 1), read
// from its declarations so that tools can name a row as BAR:BEAT the way the source does. The
// values of the declarations and BAR:BEAT positions are read here for every reader of a source,
// its compiler (sync/track_text.h) included.
#pragma once

#include <cstdint>
#include <string>

struct MusicalGrid {
    bool known = false;  // the source declares a tempo
    double tempo = 0.0;  // beats a minute
    int beatsPerBar = 4;
    double startRow = 0.0;  // row of bar 1, beat 1
};

// The values a source's declarations may hold, read the same way wherever a source is read.
constexpr int maxTempo = 10000;  // beats a minute
constexpr int maxBeatsPerBar = 64;
constexpr int32_t maxStartRow = 999999999;  // rows

// `tempo`: a finite number of beats a minute above 0 and at most maxTempo, as strtod reads it.
bool parseTempo(const std::string& word, double* tempo);
// `beats-per-bar`: a whole number from 1 to maxBeatsPerBar.
bool parseBeatsPerBar(const std::string& word, int* beats);
// `start-row`: a whole row from 0 to maxStartRow.
bool parseStartRow(const std::string& word, double* row);

// What keeps a BAR:BEAT position from naming a row.
enum class BarBeatProblem {
    none,
    notBarBeat,      // not digits, a colon and a plain decimal
    noTempo,         // the grid is not known
    barBeforeFirst,  // bar 0
    beatOutsideBar,  // a beat before 1 or from beatsPerBar + 1 on
};

// A musical position, BAR:BEAT counted from 1 ("26:1", "26:2.5"): the bar in digits, the beat a
// plain decimal (no sign, exponent or words), the beat within the bar. Gives the exact row on
// the grid (not rounded to a whole row), or what is wrong, checked in the order listed above.
BarBeatProblem parseBarBeat(const std::string& word, const MusicalGrid& grid, double* row);

// A BAR:BEAT position read as parseBarBeat reads it, and no later than `lastRow`: "" with the row,
// or a line saying what is wrong with it (for a grid that is not known: that there is no tempo).
std::string readBarBeatRow(const std::string& word, const MusicalGrid& grid, double lastRow, double* row);

// Reads the first tempo, beats-per-bar and start-row declarations of a source text; values that
// do not parse or lie out of range, as the functions above read them, leave the grid unknown.
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
