// Turning accents into keys. Each accent gives windows of rows (one per event it follows); at
// every row where a window or a key begins or ends, the track gets one key: the topmost
// window's value there (held, or for a pulse its amount fading linearly over the window on top
// of the keys' value), or outside every window the keys' own value and kind.
#include "sync/track_accents.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>

#include "sync/song_fit.h"
#include "sync/sync.h"
#include "sync/track_file.h"

namespace {

struct Window {
    int32_t start;
    int32_t end;  // first row after it
    const Accent* accent;
};

int32_t nearestRow(double row) {
    double rounded = std::floor(row + 0.5);
    return int32_t(std::max(-2147483648.0, std::min(2147483647.0, rounded)));
}

float valueOfKeys(const std::vector<TrackKey>& keys, double row) {
    SyncTrack track{nullptr, const_cast<TrackKey*>(keys.data()), int32_t(keys.size())};
    return evaluateTrack(&track, row);
}

// The windows of one accent, in event order; false when the song has no event of its kind.
bool windowsOf(const Accent& accent, const std::vector<SongEvent>& events, const std::vector<TrackKey>& keys,
               std::vector<Window>* windows) {
    bool known = false;
    int32_t seen = 0;
    for (const SongEvent& event : events) {
        if (event.kind != accent.event) continue;
        known = true;
        int32_t start = nearestRow(event.row);
        if (start < accent.fromRow || start >= accent.toRow) continue;
        if (seen++ % accent.every != 0) continue;
        if (accent.between) {
            float base = valueOfKeys(keys, start);
            if (!(base > accent.low && base < accent.high)) continue;
        }
        double length = accent.rows > 0 ? accent.rows : event.length;
        int32_t end = std::max(start + 1, nearestRow(event.row + length));
        windows->push_back(Window{start, end, &accent});
    }
    return known;
}

int32_t kindOfKeysAt(const std::vector<TrackKey>& keys, int32_t row) {
    auto after =
        std::upper_bound(keys.begin(), keys.end(), row, [](int32_t at, const TrackKey& key) { return at < key.row; });
    return after == keys.begin() ? int32_t(Interpolation::Step) : (after - 1)->kind;
}

// The key at `row` under the topmost window there (null: none). A rise holds its last row, so
// that it drops back at once when its window ends.
TrackKey keyAt(const std::vector<TrackKey>& keys, const Window* top, int32_t row) {
    if (!top) return TrackKey{row, valueOfKeys(keys, row), kindOfKeysAt(keys, row)};
    const Accent& accent = *top->accent;
    if (accent.shape == AccentShape::hold) return TrackKey{row, accent.value, int32_t(Interpolation::Step)};
    double done = double(row - top->start) / double(top->end - top->start);
    double share = accent.shape == AccentShape::pulse ? 1.0 - done : done;
    int32_t kind = accent.shape == AccentShape::rise && row == top->end - 1 ? int32_t(Interpolation::Step)
                                                                            : int32_t(Interpolation::Linear);
    return TrackKey{row, float(valueOfKeys(keys, row) + accent.value * share), kind};
}

// The keys with the windows laid over them, a later window over an earlier one; a step key
// repeating the value held before it is left out. One sweep over the rows where anything
// begins or ends, keeping the windows open there ordered by their place in the list.
std::vector<TrackKey> keysWithWindows(const std::vector<TrackKey>& keys, const std::vector<Window>& windows) {
    std::map<int32_t, std::vector<std::pair<bool, size_t>>> changes;  // row: (opens, window)
    for (const TrackKey& key : keys) changes[key.row];
    for (size_t i = 0; i < windows.size(); ++i) {
        changes[windows[i].start].push_back({true, i});
        changes[windows[i].end].push_back({false, i});
        if (windows[i].accent->shape == AccentShape::rise) changes[windows[i].end - 1];
    }
    std::set<size_t> open;
    const Window* previousTop = nullptr;  // the window on top up to this row
    std::vector<TrackKey> result;
    for (const auto& [row, here] : changes) {
        for (const auto& [opens, index] : here) {
            if (!opens) open.erase(index);
        }
        for (const auto& [opens, index] : here) {
            if (opens) open.insert(index);
        }
        const Window* top = open.empty() ? nullptr : &windows[*open.rbegin()];
        TrackKey key = keyAt(keys, top, row);
        // A window begins with a jump: the way into it holds still for its last row instead of
        // gliding towards the accent's value.
        bool windowBegins = top && top->start == row;
        if (windowBegins && !result.empty() && result.back().kind != int32_t(Interpolation::Step) &&
            result.back().row < row - 1) {
            float held = keyAt(keys, previousTop, row - 1).value;
            result.push_back(TrackKey{row - 1, held, int32_t(Interpolation::Step)});
        }
        bool repeats = !result.empty() && result.back().kind == int32_t(Interpolation::Step) &&
                       key.kind == int32_t(Interpolation::Step) && result.back().value == key.value;
        if (!repeats) result.push_back(key);
        previousTop = top;
    }
    return result;
}

// What is wrong with keys that accents added up to, or "".
std::string overflowIn(const std::vector<TrackKey>& keys) {
    for (size_t i = 0; i < keys.size(); ++i) {
        if (!std::isfinite(keys[i].value))
            return "add up to a value past what a float holds at row " + std::to_string(keys[i].row);
        if (i > 0 && segmentOverflows(keys[i - 1], keys[i])) {
            return "give values too far apart for a float at row " + std::to_string(keys[i].row);
        }
    }
    return "";
}

}  // namespace

void applyAccents(TrackSource* source, const std::vector<SongEvent>& events) {
    for (SourceTrack& track : source->tracks) {
        if (track.accents.empty()) continue;
        std::vector<Window> windows;
        for (const Accent& accent : track.accents) {
            if (!windowsOf(accent, events, track.keys, &windows)) {
                source->errors.push_back(SourceError{accent.line, "the song has no event " + quotedWord(accent.event) +
                                                                      " (see " + source->eventsFile + ")"});
            }
        }
        std::vector<TrackKey> keys = keysWithWindows(track.keys, windows);
        std::string problem = overflowIn(keys);
        if (!problem.empty()) {
            source->errors.push_back(SourceError{track.accents.back().line,
                                                 "the accents of track " + quotedWord(track.name) + " " + problem});
            continue;
        }
        if (keys.size() > size_t(maxTrackKeys)) {
            source->errors.push_back(
                SourceError{track.accents.back().line, "the accents give track " + quotedWord(track.name) + " " +
                                                           std::to_string(keys.size()) + " keys, more than the " +
                                                           std::to_string(maxTrackKeys) + " a track holds"});
            continue;
        }
        track.keys = keys;
    }
}

void readEventsAndApplyAccents(TrackSource* source) {
    if (source->eventsFile.empty()) return;
    bool anyAccent = false;
    for (const SourceTrack& track : source->tracks) anyAccent = anyAccent || !track.accents.empty();
    SongEventList list = readSongEvents(source->eventsFile);
    if (!list.errors.empty()) {
        const SourceError& first = list.errors.front();
        std::string where = first.line > 0 ? source->eventsFile + ":" + std::to_string(first.line) + ": " : "";
        source->errors.push_back(
            SourceError{source->eventsLine, "the song's events cannot be read: " + where + first.message});
        return;
    }
    for (const std::string& misfit : songMisfits(source->grid, list, source->eventsFile)) {
        source->errors.push_back(SourceError{source->eventsLine, misfit});
    }
    if (anyAccent && source->errors.empty()) applyAccents(source, list.events);
}
