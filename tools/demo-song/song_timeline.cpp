// The events are gathered per kind and sorted by row once (a stable sort keeps each row's
// events in the order they are added: bars before beats before hits before voices).
#include "song_timeline.h"

#include <algorithm>
#include <cstdio>

#include "base/show_facts.h"

namespace {

constexpr double framesPerRow = double(songOutputRate) / rowsPerSecond;

double rowOf(long frame) { return double(frame) / framesPerRow; }

const char* whoOf(Singer singer) { return singer == Singer::hero ? "good" : "evil"; }

const char* drumKind(Instrument instrument) {
    switch (instrument) {
    case Instrument::kick: return "kick";
    case Instrument::snare: return "snare";
    case Instrument::clap: return "clap";
    case Instrument::crash: return "crash";
    case Instrument::riser: return "riser";
    default: return nullptr;
    }
}

void addGrid(const Score& score, std::vector<SongEvent>* events) {
    for (const Section& section : score.sections) {
        double start = rowOf(barStartFrame(score, section.startBar));
        events->push_back({start, rowOf(barStartFrame(score, section.endBar)) - start, "section:" + section.name});
    }
    for (int bar = 0; bar < score.endBar; ++bar) {
        double barRow = rowOf(barStartFrame(score, bar));
        events->push_back({barRow, rowOf(barStartFrame(score, bar + 1)) - barRow, "bar"});
        for (int beat = 0; beat < 4; ++beat) {
            double row = rowOf(barStartFrame(score, bar + beat / 4.0));
            events->push_back({row, rowOf(barStartFrame(score, bar + (beat + 1) / 4.0)) - row, "beat"});
        }
    }
}

void addHits(const Arrangement& arrangement, std::vector<SongEvent>* events) {
    for (const NoteEvent& note : arrangement.events) {
        const char* kind = drumKind(note.instrument);
        if (!kind || note.start >= arrangement.totalFrames) continue;
        events->push_back({rowOf(note.start), rowOf(note.length), kind});
    }
}

// A syllable's mouth closes at least a row and a half before the next one opens, so that
// every syllable shows as its own movement; it stays open at least a row.
void addSyllables(const SungTiming& sung, std::vector<SongEvent>* events) {
    const std::vector<SyllableTiming>& s = sung.syllables;
    for (size_t i = 0; i < s.size(); ++i) {
        double start = rowOf(s[i].start);
        double closed = rowOf(s[i].mouthClosed);
        if (i + 1 < s.size()) closed = std::min(closed, rowOf(s[i + 1].start) - 1.5);
        events->push_back({start, std::max(1.0, closed - start), std::string("sing:") + whoOf(sung.singer)});
        if (s[i].stutters) events->push_back({start, 2.0, std::string("stutter:") + whoOf(sung.singer)});
    }
}

}  // namespace

std::vector<SongEvent> songEvents(const Score& score, const Arrangement& arrangement,
                                  const std::vector<SungLine>& lines, const std::vector<SungTiming>& sung) {
    std::vector<SongEvent> events;
    addGrid(score, &events);
    addHits(arrangement, &events);
    for (const SungLine& line : lines) {
        if (line.slotStart >= arrangement.totalFrames) continue;
        events.push_back(
            {rowOf(line.slotStart), rowOf(line.slotEnd - line.slotStart), std::string("line:") + whoOf(line.singer)});
    }
    for (const SungTiming& each : sung) addSyllables(each, &events);
    std::stable_sort(events.begin(), events.end(),
                     [](const SongEvent& a, const SongEvent& b) { return a.row < b.row; });
    return events;
}

int writeSongEvents(const std::string& path, const Score& score, double endRow, const std::vector<SongEvent>& events) {
    FILE* file = fopen(path.c_str(), "w");
    if (!file) {
        fprintf(stderr, "demo-song: %s cannot be written\n", path.c_str());
        return -1;
    }
    fprintf(file, "# The song's events, written by demo-song: ROW LENGTH KIND, in rows (24 a second).\n");
    fputs(formatSongGrid(MusicalGrid{true, score.tempo, stepsPerBar / 4, 0.0}, endRow).c_str(), file);
    for (const SongEvent& event : events) fprintf(file, "%s\n", formatSongEvent(event).c_str());
    if (fclose(file) != 0) {
        fprintf(stderr, "demo-song: %s could not be written whole\n", path.c_str());
        return -1;
    }
    return 0;
}
