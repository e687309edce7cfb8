// Parsing and printing the text form of track files. Numbers are read with strtol/strtod/strtof
// and checked for a complete, in-range token; values are printed in the fewest digits that read
// back to the same float, so a dumped file rebuilds byte for byte.
#include "sync/track_text.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "base/number_words.h"
#include "base/regular_file.h"
#include "sync/musical_grid.h"
#include "sync/track_file.h"

namespace {

const char* const kindNames[] = {"step", "linear", "smooth", "ramp"};

// Declarations and the track that key lines go to, as reading proceeds.
struct ParseState {
    MusicalGrid grid;           // known once a tempo is declared
    int currentTrack = -1;      // index into the tracks, -1 before the first `track` line
    bool skippingKeys = false;  // the last `track` line was refused
    int previousKeyLine = 0;
    std::map<std::string, int> trackByFileName;  // index of the track writing each file
};

bool parseValueBits(const std::string& word, float* value) {
    const std::string prefix = "bits:";
    if (word.size() != prefix.size() + 8 || word.compare(0, prefix.size(), prefix) != 0) return false;
    uint32_t bits = 0;
    for (size_t i = prefix.size(); i < word.size(); ++i) {
        char c = word[i];
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
        if (digit < 0) return false;
        bits = bits << 4 | static_cast<uint32_t>(digit);
    }
    std::memcpy(value, &bits, sizeof *value);
    return true;
}

// A value word; on failure `error` says what is wrong.
bool parseValue(const std::string& word, float* value, std::string* error) {
    if (word.compare(0, 5, "bits:") == 0) {
        if (parseValueBits(word, value)) return true;
        *error = "value " + quotedWord(word) + " must be bits: followed by 8 hex digits";
        return false;
    }
    errno = 0;
    char* end = nullptr;
    float parsed = std::strtof(word.c_str(), &end);
    if (end != word.c_str() + word.size() || word.empty()) {
        *error = "value " + quotedWord(word) + " is not a number";
    } else if (std::isinf(parsed) && errno == ERANGE) {
        *error = "value " + quotedWord(word) + " is too large for a 32-bit float";
    } else if (!std::isfinite(parsed)) {
        *error = "value " + quotedWord(word) + " is not a finite number (write bits:XXXXXXXX to store it)";
    } else {
        *value = parsed;
        return true;
    }
    return false;
}

bool parseKind(const std::string& word, int32_t* kind, std::string* error) {
    for (int32_t i = 0; i < 4; ++i) {
        if (word == kindNames[i]) {
            *kind = i;
            return true;
        }
    }
    int32_t number;
    if (parseInt32(word, &number) && number >= -128 && number <= 127) {
        *kind = number;
        return true;
    }
    *error = "unknown interpolation " + quotedWord(word) +
             " (use step, linear, smooth, ramp, or a kind number from -128 to 127)";
    return false;
}

// Row of a BAR:BEAT time under the declarations in force, to the nearest row (halves to the later).
bool parseMusicalTime(const std::string& word, const ParseState& state, int32_t* row, std::string* error) {
    double exactRow = 0;
    const std::string time = "time " + quotedWord(word);
    switch (parseBarBeat(word, state.grid, &exactRow)) {
    case BarBeatProblem::none: break;
    case BarBeatProblem::notBarBeat: *error = time + " is not BAR:BEAT (for example 3:1 or 3:2.5)"; return false;
    case BarBeatProblem::noTempo: *error = time + " needs a 'tempo' line before it"; return false;
    case BarBeatProblem::barBeforeFirst: *error = time + ": bars count from 1"; return false;
    case BarBeatProblem::beatOutsideBar:
        *error = time + ": beats count from 1 and a bar has " + std::to_string(state.grid.beatsPerBar) +
                 " (see 'beats-per-bar')";
        return false;
    }
    double nearestRow = std::floor(exactRow + 0.5);
    if (nearestRow >= INT32_MIN && nearestRow <= INT32_MAX) {
        *row = static_cast<int32_t>(nearestRow);
        return true;
    }
    *error = time + " falls outside the rows a track file can hold";
    return false;
}

bool parsePosition(const std::string& word, const ParseState& state, int32_t* row, std::string* error) {
    if (word.find(':') != std::string::npos) return parseMusicalTime(word, state, row, error);
    if (parseInt32(word, row)) return true;
    double number;
    if (parseFiniteDouble(word, &number)) {
        *error = "row " + quotedWord(word) +
                 " is not a whole number from -2147483648 to 2147483647 (for musical time write "
                 "BAR:BEAT)";
    } else {
        *error = quotedWord(word) + " is neither a row number nor a BAR:BEAT time";
    }
    return false;
}

std::string fileNameOf(const std::string& trackName) {
    const char* fileName = trackFileName("sync", trackName.c_str());
    return fileName ? fileName : "";
}

// Why a track name cannot be used, or "" when it can.
std::string trackNameProblem(const std::string& name, const TrackSource& source, const ParseState& state) {
    for (char c : name) {
        if (c <= ' ' || c > '~' || c == '/' || c == '\\') {
            return "track name " + quotedWord(name) +
                   " holds a character a file name cannot (use printable "
                   "characters other than / and \\)";
        }
    }
    std::string fileName = fileNameOf(name);
    if (fileName.empty() || fileName.size() + temporaryNameSuffixBytes > size_t{NAME_MAX}) {
        return "track name " + quotedWord(name) + " is too long for a file name (at most " +
               std::to_string(maxTrackNameBytes) + " characters)";
    }
    auto found = state.trackByFileName.find(fileName);
    if (found == state.trackByFileName.end()) return "";
    const SourceTrack& track = source.tracks[found->second];
    if (track.name == name) {
        return "track " + quotedWord(name) + " was already started at line " + std::to_string(track.line);
    }
    return "track " + quotedWord(name) + " would write the same file, " + fileName + ", as track " +
           quotedWord(track.name) + " (line " + std::to_string(track.line) + ")";
}

std::string parseTrackLine(const std::vector<std::string>& words, int line, ParseState* state, TrackSource* source) {
    state->currentTrack = -1;
    state->skippingKeys = true;
    if (words.size() != 2) return "'track' needs exactly one name, for example: track tunnel:move";
    std::string problem = trackNameProblem(words[1], *source, *state);
    if (!problem.empty()) return problem;
    source->tracks.push_back(SourceTrack{words[1], line, {}, {}, {}});
    state->currentTrack = static_cast<int>(source->tracks.size()) - 1;
    state->trackByFileName[fileNameOf(words[1])] = state->currentTrack;
    state->skippingKeys = false;
    return "";
}

std::string parseDeclaration(const std::vector<std::string>& words, ParseState* state) {
    const std::string& keyword = words[0];
    if (words.size() != 2) return quotedWord(keyword) + " needs exactly one number";
    const std::string& word = words[1];
    MusicalGrid& grid = state->grid;
    if (keyword == "tempo") {
        if (!parseTempo(word, &grid.tempo)) {
            return "tempo " + quotedWord(word) + " is not a positive number of beats per minute up to " +
                   std::to_string(maxTempo);
        }
        grid.known = true;
    } else if (keyword == "beats-per-bar") {
        if (!parseBeatsPerBar(word, &grid.beatsPerBar)) {
            return "beats-per-bar " + quotedWord(word) + " is not a whole number of at least 1 and at most " +
                   std::to_string(maxBeatsPerBar);
        }
    } else if (keyword == "start-row") {
        if (!parseStartRow(word, &grid.startRow)) {
            return "start-row " + quotedWord(word) + " is not a whole row number from 0 to " +
                   std::to_string(maxStartRow);
        }
    }
    return "";
}

// The shortest decimal that reads back as exactly `value`; raw bits when no decimal does.
std::string formatValue(float value) {
    char text[32];
    if (std::isfinite(value)) {
        for (int digits = 6; digits <= 9; ++digits) {
            std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
            float back = std::strtof(text, nullptr);
            if (std::memcmp(&back, &value, sizeof value) == 0) return text;
        }
    }
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    std::snprintf(text, sizeof text, "bits:%08" PRIx32, bits);
    return text;
}

// Why `key` cannot follow `keys`, the last of them written at `previousLine`; "" when it can.
std::string followingKeyProblem(const std::vector<TrackKey>& keys, const TrackKey& key, int previousLine) {
    if (keys.empty()) return "";
    const TrackKey& previous = keys.back();
    std::string where = " (line " + std::to_string(previousLine) + ")";
    if (key.row <= previous.row) {
        return "key at row " + std::to_string(key.row) + " is not after the previous key at row " +
               std::to_string(previous.row) + where + "; keys must rise in row";
    }
    if (keys.size() >= static_cast<size_t>(maxTrackKeys)) {
        return "one key too many: a track holds at most " + std::to_string(maxTrackKeys) + " keys";
    }
    if (segmentOverflows(previous, key)) {
        return "value " + formatValue(key.value) + " is too far from the previous key's " +
               formatValue(previous.value) + where + ": their " + interpolationName(previous.kind) +
               " segment spans more than a 32-bit float holds";
    }
    return "";
}

std::string parseKeyLine(const std::vector<std::string>& words, int line, ParseState* state, TrackSource* source) {
    char first = words[0][0];
    if (!std::isdigit(static_cast<unsigned char>(first)) && first != '-' && first != '+') {
        return "unknown word " + quotedWord(words[0]) +
               " (a line is track, tempo, beats-per-bar, start-row, events, on, pulse, rise, or a key: "
               "POSITION VALUE [KIND])";
    }
    if (state->skippingKeys) return "";
    if (state->currentTrack < 0) return "key before any 'track' line";
    if (words.size() > 3) {
        return "unexpected " + quotedWord(words[3]) + " after the key's interpolation";
    }
    if (words.size() < 2) {
        return "key at " + quotedWord(words[0]) + " needs a value: POSITION VALUE [KIND]";
    }
    std::string error;
    TrackKey key{0, 0.0f, static_cast<int32_t>(Interpolation::Step)};
    if (!parsePosition(words[0], *state, &key.row, &error) || !parseValue(words[1], &key.value, &error) ||
        (words.size() == 3 && !parseKind(words[2], &key.kind, &error))) {
        return error;
    }
    std::vector<TrackKey>& keys = source->tracks[state->currentTrack].keys;
    std::string problem = followingKeyProblem(keys, key, state->previousKeyLine);
    if (!problem.empty()) return problem;
    keys.push_back(key);
    source->tracks[state->currentTrack].keyLines.push_back(line);
    state->previousKeyLine = line;
    return "";
}

// The options after an accent's own words, from `words[next]` on.
std::string parseAccentOptions(const std::vector<std::string>& words, size_t next, const ParseState& state,
                               Accent* accent) {
    std::string error;
    while (next < words.size()) {
        const std::string& option = words[next];
        size_t needed = option == "if-between" ? 2 : 1;
        if (option != "every" && option != "from" && option != "to" && option != "if-between") {
            return "unknown option " + quotedWord(option) +
                   " (every N, from POSITION, to POSITION, if-between LOW HIGH)";
        }
        if (next + needed >= words.size())
            return quotedWord(option) + " needs " + (needed == 2 ? "two values" : "a value");
        const std::string& word = words[next + 1];
        if (option == "every" && (!parseInt32(word, &accent->every) || accent->every < 1)) {
            return "every " + quotedWord(word) + " is not a whole number of at least 1";
        }
        if (option == "from" && !parsePosition(word, state, &accent->fromRow, &error)) return error;
        if (option == "to" && !parsePosition(word, state, &accent->toRow, &error)) return error;
        if (option == "if-between") {
            accent->between = true;
            if (!parseValue(word, &accent->low, &error) || !parseValue(words[next + 2], &accent->high, &error)) {
                return error;
            }
        }
        next += needed + 1;
    }
    return "";
}

// `on EVENT VALUE [ROWS] [OPTIONS]`, `pulse EVENT AMOUNT ROWS [OPTIONS]` or
// `rise EVENT AMOUNT [ROWS] [OPTIONS]`.
std::string parseAccentLine(const std::vector<std::string>& words, int line, ParseState* state, TrackSource* source) {
    bool pulse = words[0] == "pulse";
    AccentShape shape = pulse ? AccentShape::pulse : words[0] == "rise" ? AccentShape::rise : AccentShape::hold;
    if (state->skippingKeys) return "";
    if (state->currentTrack < 0) return quotedWord(words[0]) + " before any 'track' line";
    if (source->eventsFile.empty()) return quotedWord(words[0]) + " needs an 'events FILE' line before it";
    if (words.size() < (pulse ? 4u : 3u)) {
        return pulse                        ? "'pulse' needs an event, an amount and rows: pulse kick 0.3 6"
               : shape == AccentShape::rise ? "'rise' needs an event and an amount: rise riser 0.5"
                                            : "'on' needs an event and a value: on sing:good 5";
    }
    Accent accent{line, shape, words[1], 0.0f, 0.0};
    std::string error;
    if (!parseValue(words[2], &accent.value, &error)) return error;
    size_t next = 3;
    if (words.size() > 3 && (pulse || std::isdigit(static_cast<unsigned char>(words[3][0])))) {
        if (!parseFiniteDouble(words[3], &accent.rows) || accent.rows <= 0 || accent.rows > 1e6) {
            return "rows " + quotedWord(words[3]) + " is not a length in rows above 0";
        }
        next = 4;
    }
    error = parseAccentOptions(words, next, *state, &accent);
    if (!error.empty()) return error;
    source->tracks[state->currentTrack].accents.push_back(accent);
    return "";
}

std::string parseEventsLine(const std::vector<std::string>& words, int line, TrackSource* source) {
    if (words.size() != 2) return "'events' needs exactly one file name, for example: events song.events";
    if (!source->eventsFile.empty()) {
        return "the events were already named at line " + std::to_string(source->eventsLine);
    }
    source->eventsFile = words[1];
    source->eventsLine = line;
    return "";
}

std::string parseLine(const std::string& text, int line, ParseState* state, TrackSource* source) {
    std::vector<std::string> words = wordsOfSourceLine(text);
    if (words.empty()) return "";
    const std::string& first = words[0];
    if (first == "track") return parseTrackLine(words, line, state, source);
    if (first == "events") return parseEventsLine(words, line, source);
    if (first == "on" || first == "pulse" || first == "rise") return parseAccentLine(words, line, state, source);
    if (first == "tempo" || first == "beats-per-bar" || first == "start-row") {
        return parseDeclaration(words, state);
    }
    return parseKeyLine(words, line, state, source);
}

}  // namespace

TrackSource parseTrackSource(const std::string& text) {
    TrackSource source;
    ParseState state;
    size_t start = 0;
    for (int line = 1; start <= text.size(); ++line) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string error = parseLine(text.substr(start, end - start), line, &state, &source);
        if (!error.empty()) source.errors.push_back(SourceError{line, error});
        if (static_cast<int>(source.errors.size()) == maxSourceErrors) {
            source.errors.push_back(SourceError{line, "too many errors; reading stops here"});
            break;
        }
        start = end + 1;
    }
    source.grid = readMusicalGrid(text);
    return source;
}

const char* interpolationName(int32_t kind) { return kind >= 0 && kind < 4 ? kindNames[kind] : nullptr; }

std::string formatTrackSource(const char* trackName, const TrackKey* keys, int32_t keyCount) {
    std::string text =
        std::string("track ") + trackName + "  # " + std::to_string(keyCount) + (keyCount == 1 ? " key\n" : " keys\n");
    char line[96];
    for (int32_t i = 0; i < keyCount; ++i) {
        const char* name = interpolationName(keys[i].kind);
        std::string kind = name ? name : std::to_string(keys[i].kind);
        std::snprintf(line, sizeof line, "%8" PRId32 "  %-14s  %s\n", keys[i].row, formatValue(keys[i].value).c_str(),
                      kind.c_str());
        text += line;
    }
    return text;
}

std::string quotedWord(const std::string& word) {
    size_t cut = word.size();
    if (cut > maxQuotedWordBytes) {
        cut = maxQuotedWordBytes;
        // Back to the start of a UTF-8 sequence, so that no character is cut in two.
        while (cut > 0 && (static_cast<unsigned char>(word[cut]) & 0xc0) == 0x80) --cut;
    }
    std::string shown = word.substr(0, cut);
    // Control characters would reach the terminal as commands; they show as '?'.
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    }
    return "'" + shown + (cut < word.size() ? "...'" : "'");
}

std::vector<std::string> wordsOfSourceLine(const std::string& line) {
    std::vector<std::string> words;
    size_t end = line.find('#');
    std::string content = line.substr(0, end);
    const char* spaces = " \t\r\v\f";
    size_t start = content.find_first_not_of(spaces);
    while (start != std::string::npos) {
        size_t stop = content.find_first_of(spaces, start);
        words.push_back(content.substr(start, stop - start));
        start = stop == std::string::npos ? stop : content.find_first_not_of(spaces, stop);
    }
    return words;
}

int readTextFile(const char* path, std::string* text) { return readRegularFile(path, maxSourceBytes, text); }

namespace {

void removeFiles(const std::vector<std::string>& paths, size_t from) {
    for (size_t i = from; i < paths.size(); ++i) unlink(paths[i].c_str());
}

// Writes track `index` of the source to a temporary file beside its track file and adds its
// name to `temporaryPaths`. -1 with errno set when it cannot, or when its track file's name is
// taken by a directory, which no file can be renamed over.
int writeTemporaryFileOfTrack(const TrackSource& source, size_t index, std::vector<std::string>* temporaryPaths) {
    const SourceTrack& track = source.tracks[index];
    std::string fileName = fileNameOf(track.name);
    struct stat info;
    if (fileName.empty()) {
        errno = ENAMETOOLONG;
        return -1;
    }
    if (lstat(fileName.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return -1;
    }
    std::string temporaryPath;
    const TrackKey* keys = track.keys.data();
    int32_t keyCount = static_cast<int32_t>(track.keys.size());
    if (writeTemporaryTrackFile(fileName.c_str(), keys, keyCount, &temporaryPath) != 0) return -1;
    temporaryPaths->push_back(temporaryPath);
    return 0;
}

}  // namespace

TrackWriteOutcome writeSourceTracks(const TrackSource& source) {
    TrackWriteOutcome outcome;
    std::vector<std::string> temporaryPaths;
    for (size_t i = 0; i < source.tracks.size(); ++i) {
        if (writeTemporaryFileOfTrack(source, i, &temporaryPaths) != 0) {
            outcome = TrackWriteOutcome{static_cast<int>(i), errno, 0};
            removeFiles(temporaryPaths, 0);
            return outcome;
        }
    }
    for (size_t i = 0; i < source.tracks.size(); ++i) {
        std::string fileName = fileNameOf(source.tracks[i].name);
        if (std::rename(temporaryPaths[i].c_str(), fileName.c_str()) != 0) {
            outcome = TrackWriteOutcome{static_cast<int>(i), errno, static_cast<int>(i)};
            removeFiles(temporaryPaths, i);
            return outcome;
        }
    }
    outcome.placedTracks = static_cast<int>(source.tracks.size());
    return outcome;
}
