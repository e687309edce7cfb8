// Reading and writing the song's events text. Numbers are read whole with strtod and must be
// finite; rows never go back; every bound (bytes, events, errors, word length) is checked.
#include "sync/song_events.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/number_words.h"
#include "base/regular_file.h"

namespace {

bool kindIsWord(const std::string& kind) {
    if (kind.empty() || kind.size() > size_t(maxSongEventKindBytes)) return false;
    for (char c : kind) {
        if (c <= ' ' || c > '~') return false;
    }
    return true;
}

// A declaration of the song's grid or end: why it cannot be one, "" when it is one (kept in list).
std::string parseDeclarationLine(const std::vector<std::string>& words, SongEventList* list) {
    const std::string& name = words[0];
    if (words.size() != 2) return quotedWord(name) + " needs exactly one value";
    if (!list->events.empty()) return quotedWord(name) + " must come before the events";
    bool good = name == "tempo"           ? parseTempo(words[1], &list->grid.tempo)
                : name == "beats-per-bar" ? parseBeatsPerBar(words[1], &list->grid.beatsPerBar)
                : name == "start-row"     ? parseStartRow(words[1], &list->grid.startRow)
                                          : parseFiniteDouble(words[1], &list->endRow) && list->endRow >= 0;
    if (!good) return "bad value " + quotedWord(words[1]) + " for " + quotedWord(name);
    if (name == "tempo") list->grid.known = true;
    return "";
}

// Why the line cannot be an event after `list`'s last one; "" when it is one (added to list).
std::string parseEventLine(const std::string& line, SongEventList* list) {
    std::vector<std::string> words = wordsOfSourceLine(line);
    if (words.empty()) return "";
    const std::string& first = words[0];
    if (first == "tempo" || first == "beats-per-bar" || first == "start-row" || first == "end") {
        return parseDeclarationLine(words, list);
    }
    if (words.size() != 3) return "an event is ROW LENGTH KIND, for example: 96 12 beat";
    SongEvent event{0, 0, words[2]};
    if (!parseFiniteDouble(words[0], &event.row) || event.row < 0) {
        return "row " + quotedWord(words[0]) + " is not a number of rows from 0";
    }
    if (!parseFiniteDouble(words[1], &event.length) || event.length < 0) {
        return "length " + quotedWord(words[1]) + " is not a number of rows from 0";
    }
    if (!kindIsWord(event.kind)) {
        return "kind " + quotedWord(event.kind) + " is not one word of at most " +
               std::to_string(maxSongEventKindBytes) + " printable characters";
    }
    if (!list->events.empty() && event.row < list->events.back().row) {
        return "the event at row " + words[0] + " comes before the one above it; events must not go back";
    }
    if (list->events.size() >= size_t(maxSongEvents)) {
        return "one event too many: a song holds at most " + std::to_string(maxSongEvents);
    }
    list->events.push_back(event);
    return "";
}

}  // namespace

SongEventList parseSongEvents(const std::string& text) {
    SongEventList list;
    size_t start = 0;
    for (int line = 1; start <= text.size(); ++line) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string error = parseEventLine(text.substr(start, end - start), &list);
        if (!error.empty()) list.errors.push_back(SourceError{line, error});
        if (int(list.errors.size()) == maxSourceErrors) {
            list.errors.push_back(SourceError{line, "too many errors; reading stops here"});
            break;
        }
        start = end + 1;
    }
    return list;
}

SongEventList readSongEvents(const std::string& path) {
    std::string text;
    if (readRegularFile(path.c_str(), maxSongEventBytes, &text) != 0) {
        SongEventList list;
        list.errors.push_back(SourceError{0, path + ": " + std::strerror(errno)});
        return list;
    }
    return parseSongEvents(text);
}

std::string formatSongGrid(const MusicalGrid& grid, double endRow) {
    char text[160];
    std::snprintf(text, sizeof text, "tempo %.9g\nbeats-per-bar %d\nstart-row %.0f\nend %.3f\n", grid.tempo,
                  grid.beatsPerBar, grid.startRow, endRow);
    return text;
}

std::string formatSongEvent(const SongEvent& event) {
    char line[160];
    std::snprintf(line, sizeof line, "%.3f %.3f %s", event.row, event.length, event.kind.c_str());
    return line;
}
