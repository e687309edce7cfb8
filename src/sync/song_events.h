// The song's events: what the song's generator plays and sings, row by row (beats, drum hits,
// risers, section changes, sung lines and syllables), written beside the song so that the
// choreography can follow the music rather than only the grid.
//
//   # comment
//   tempo BPM            the song's grid, as a choreography source declares it (musical_grid.h):
//   beats-per-bar N      beats a minute, beats a bar and the row of bar 1; before the events
//   start-row ROW
//   end ROW              the row at which the song ends
//   ROW LENGTH KIND      rows at 24 a second, decimals allowed, the lines in rising row
//
// KIND is a word without spaces: beat, bar, kick, snare, clap, crash, riser, section:NAME,
// line:WHO (a sung line: its bubble's time), sing:WHO (a sung syllable: from where it starts, the
// rows its singer's mouth is open), stutter:WHO (a syllable broken up), with WHO good or evil.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sync/musical_grid.h"
#include "sync/track_text.h"

struct SongEvent {
    double row;
    double length;
    std::string kind;
};

struct SongEventList {
    MusicalGrid grid;    // known when the file declares the song's tempo
    double endRow = -1;  // where the song ends; -1 when the file does not say
    std::vector<SongEvent> events;
    std::vector<SourceError> errors;  // empty when the whole text is valid
};

// Bounds on what a file may ask for: a song of a few minutes has a few thousand events.
constexpr int maxSongEvents = 200000;
constexpr int64_t maxSongEventBytes = 16 << 20;
constexpr int maxSongEventKindBytes = 64;

// Parses a whole events text; every error is listed with its line (at most maxSourceErrors).
SongEventList parseSongEvents(const std::string& text);

// Reads and parses a file; an unreadable file is one error at line 0 naming why.
SongEventList readSongEvents(const std::string& path);

// The text of one event line, as parseSongEvents reads it back.
std::string formatSongEvent(const SongEvent& event);

// The declarations that open an events file: the song's grid and its end, as parseSongEvents
// reads them back.
std::string formatSongGrid(const MusicalGrid& grid, double endRow);
