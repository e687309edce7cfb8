// The text form of track files, in which a show's choreography is written and reviewed:
// `demo-tracks build` compiles it into binary track files and `demo-tracks dump` prints a binary
// file back in it, so that a file survives the trip byte for byte.
//
//   # comment to the end of the line
//   tempo 120            beats per minute, needed before the first bar:beat time
//   beats-per-bar 4      beats in a bar (4 when not given)
//   start-row 0          row of bar 1, beat 1 (0 when not given)
//   (their values are read, and limited, as sync/musical_grid.h reads them)
//   track NAME           the keys that follow belong to track NAME
//   POSITION VALUE [KIND]
//   events FILE          the song's events (see song_events.h), for the accents below
//   on EVENT VALUE [ROWS] [OPTIONS]       while each EVENT lasts (or for ROWS), hold VALUE
//   pulse EVENT AMOUNT ROWS [OPTIONS]     at each EVENT add AMOUNT, easing back over ROWS
//   rise EVENT AMOUNT [ROWS] [OPTIONS]    over each EVENT (or ROWS) add from 0 up to AMOUNT,
//                                         dropping back when it ends: a build into what follows
//
// OPTIONS: every N (every Nth of the events), from POSITION and to POSITION (only events from
// the one and before the other), if-between LOW HIGH (only where the track's own keys give a
// value strictly between the two at the event). The accents of a track come after its keys in
// effect: each is laid over the keys (and over the accents before it), and the keys take over
// again when it ends.
//
// POSITION is a row number (96) or a musical time BAR:BEAT counted from 1 (3:1, 3:2.5; read by
// parseBarBeat of sync/musical_grid.h); at 24 rows per second a beat lasts 1440 / tempo rows,
// and times between rows go to the nearest row (halves to the later one). VALUE is a decimal number, or bits:XXXXXXXX (the raw IEEE single
// in hex) for the values no decimal spells, such as NaN. KIND is step, linear, smooth or ramp,
// or a raw kind number from -128 to 127; step when left out. Declarations hold for the lines
// after them. Keys of a track must rise strictly in row, a track holds at most maxTrackKeys of
// them, and two finite values joined by an interpolating kind must differ by less than a float
// holds (else the segment would run off to infinity).
#pragma once

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "sync/musical_grid.h"
#include "sync/sync.h"
#include "sync/track_file.h"

// How an accent's value runs over its window: held; added and easing back to nothing; added
// growing from nothing.
enum class AccentShape { hold, pulse, rise };

// An `on`, `pulse` or `rise` line: keys made from the song's events.
struct Accent {
    int line;
    AccentShape shape;
    std::string event;  // the kind of event followed
    float value;
    double rows;  // the accent's length; 0 for `on`: each event's own length
    int32_t every = 1;
    int32_t fromRow = INT32_MIN;
    int32_t toRow = INT32_MAX;
    bool between = false;  // only where the keys' value lies strictly inside (low, high)
    float low = 0;
    float high = 0;
};

struct SourceTrack {
    std::string name;
    int line;  // where its `track` line stands
    std::vector<TrackKey> keys;
    std::vector<int> keyLines;    // by key: the line it stands on
    std::vector<Accent> accents;  // in source order; later ones lie over earlier ones
};

struct SourceError {
    int line;
    std::string message;
};

struct TrackSource {
    std::vector<SourceTrack> tracks;
    std::string eventsFile;  // named by an `events` line, "" when none
    int eventsLine = 0;
    MusicalGrid grid;                   // its first declarations, as readMusicalGrid reads them
    std::vector<SourceError> errors;    // empty when the whole text is valid
    std::vector<SourceError> warnings;  // what builds but may not be meant; line 0: the whole source
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

// Longest track name whose track file, and the temporary file written before it, fit in a
// file name of NAME_MAX (255) bytes: "sync_", the name, ".track" and the temporary suffix.
constexpr int maxTrackNameBytes = NAME_MAX - 5 - 6 - temporaryNameSuffixBytes;
// Longest word that messages quote whole.
constexpr size_t maxQuotedWordBytes = 40;

// `word` in single quotes for a message: cut after maxQuotedWordBytes with "..." when it is
// longer, control characters shown as '?'.
std::string quotedWord(const std::string& word);

// Reads a whole regular file of at most maxSourceBytes, never blocking on the open. 0 on
// success; -1 with errno set otherwise (EFBIG when the file is larger, EISDIR or EINVAL when it
// is a directory or anything else that is not a regular file).
int readTextFile(const char* path, std::string* text);

// The words of a line of a source (or of the song's events) before any '#', split at blanks.
std::vector<std::string> wordsOfSourceLine(const std::string& line);

// How writing the tracks of a source went.
struct TrackWriteOutcome {
    int failedTrack = -1;  // index of the track that could not be written; -1 when none failed
    int error = 0;         // errno of that failure
    int placedTracks = 0;  // tracks whose files were put in place, in source order
};

// Writes every track of a parsed source to its track file in the working directory, all or
// nothing: each track goes to a temporary file of its own first, and only once every one is
// written and synced are they renamed into place. Any failure before that removes every
// temporary file and leaves every track file as it was. (Should a rename fail once all are
// written, the tracks before it stay placed; the outcome says how many.)
TrackWriteOutcome writeSourceTracks(const TrackSource& source);
