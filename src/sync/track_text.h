// The text form of track files, in which a show's choreography is written and reviewed:
// `demo-tracks build` compiles it into binary track files and `demo-tracks dump` prints a binary
// file back in it, so that a file survives the trip byte for byte.
//
//   # comment to the end of the line
//   tempo 120            beats per minute, needed before the first bar:beat time
//   beats-per-bar 4      beats in a bar (4 when not given)
//   start-row 0          row of bar 1, beat 1 (0 when not given)
//   track NAME           the keys that follow belong to track NAME
//   POSITION VALUE [KIND]
//
// POSITION is a row number (96) or a musical time BAR:BEAT counted from 1 (3:1, 3:2.5); at 24
// rows per second a beat lasts 1440 / tempo rows, and times between rows go to the nearest row
// (halves to the later one). VALUE is a decimal number, or bits:XXXXXXXX (the raw IEEE single
// in hex) for the values no decimal spells, such as NaN. KIND is step, linear, smooth or ramp,
// or a raw kind number from -128 to 127; step when left out. Declarations hold for the lines
// after them. Keys of a track must rise strictly in row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sync/sync.h"

struct SourceTrack {
    std::string name;
    int line;  // where its `track` line stands
    std::vector<TrackKey> keys;
};

struct SourceError {
    int line;
    std::string message;
};

struct TrackSource {
    std::vector<SourceTrack> tracks;
    std::vector<SourceError> errors;  // empty when the whole text is valid
};

// Reading stops after this many errors.
constexpr int maxSourceErrors = 100;
// Largest source file readTextFile accepts.
constexpr int64_t maxSourceBytes = 64 << 20;

// Parses a whole source text. Every error found is listed with its line; the tracks are only
// meant to be written when there are none.
TrackSource parseTrackSource(const std::string& text);

// The source text of one track: its `track` line with the key count, then one line per key.
std::string formatTrackSource(const char* trackName, const TrackKey* keys, int32_t keyCount);

// "step", "linear", "smooth" or "ramp"; null for any other kind.
const char* interpolationName(int32_t kind);

// Reads a whole file of at most maxSourceBytes. 0 on success; -1 with errno set otherwise
// (EFBIG when the file is larger).
int readTextFile(const char* path, std::string* text);

// Writes every track of a parsed source to its track file in the working directory. Stops at the
// first failure: -1, with `failedTrack` set to its index and errno telling why.
int writeSourceTracks(const TrackSource& source, int* failedTrack);
