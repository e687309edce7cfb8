// Reading a source's declarations and BAR:BEAT positions, its musical grid, and naming rows on it.
#include "sync/musical_grid.h"

#include "base/number_words.h"
#include "base/show_facts.h"
#include "sync/track_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <vector>

namespace {

// Digits only, at least one.
bool isDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

bool parseTempo(const std::string& word, double* tempo) {
    double value = 0.0;
    if (!parseFiniteDouble(word, &value) || !(value > 0.0 && value <= maxTempo)) return false;
    *tempo = value;
    return true;
}

bool parseBeatsPerBar(const std::string& word, int* beats) {
    int32_t value = 0;
    if (!parseInt32(word, &value) || value < 1 || value > maxBeatsPerBar) return false;
    *beats = int(value);
    return true;
}

bool parseStartRow(const std::string& word, double* row) {
    int32_t value = 0;
    if (!parseInt32(word, &value) || value < 0 || value > maxStartRow) return false;
    *row = double(value);
    return true;
}

BarBeatProblem parseBarBeat(const std::string& word, const MusicalGrid& grid, double* row) {
    size_t colon = word.find(':');
    std::string barText = word.substr(0, colon);
    double bar = 0, beat = 0;
    if (colon == std::string::npos || !isDigits(barText) || !parsePlainDecimal(barText, &bar) ||
        !parsePlainDecimal(word.substr(colon + 1), &beat)) {
        return BarBeatProblem::notBarBeat;
    }
    if (!grid.known) return BarBeatProblem::noTempo;
    if (bar < 1) return BarBeatProblem::barBeforeFirst;
    if (beat < 1 || beat >= grid.beatsPerBar + 1.0) return BarBeatProblem::beatOutsideBar;
    double beats = (bar - 1.0) * grid.beatsPerBar + (beat - 1.0);
    *row = grid.startRow + beats * rowsPerBeat(grid);
    return BarBeatProblem::none;
}

std::string readBarBeatRow(const std::string& word, const MusicalGrid& grid, double lastRow, double* row) {
    double value = 0;
    std::string quoted = quotedWord(word);
    switch (parseBarBeat(word, grid, &value)) {
    case BarBeatProblem::notBarBeat:
        return quoted + " is not BAR:BEAT (the bar in digits, the beat a plain decimal: 26:1, 26:2.5)";
    case BarBeatProblem::noTempo: return quoted + " is BAR:BEAT, but no tempo is known to count the bars with";
    case BarBeatProblem::barBeforeFirst: return quoted + ": bars count from 1";
    case BarBeatProblem::beatOutsideBar:
        return quoted + ": a bar has beats 1 to " + std::to_string(grid.beatsPerBar) + " (up to, not including, " +
               std::to_string(grid.beatsPerBar + 1) + ")";
    case BarBeatProblem::none: break;
    }
    if (!(value <= lastRow)) {
        return quoted + " is row " + formatNumber("%.2f", value) + ", past the show's end at row " +
               formatNumber("%g", lastRow) + " (" + barBeatText(grid, lastRow) + ")";
    }
    *row = value;
    return "";
}

bool readSourceGrid(const std::string& path, MusicalGrid* grid, std::string* problem) {
    std::string text;
    if (readTextFile(path.c_str(), &text) != 0) {
        *problem = std::strerror(errno);
        return false;
    }
    *grid = readMusicalGrid(text);
    return true;
}

double rowsPerBeat(const MusicalGrid& grid) { return rowsPerSecond * 60.0 / (grid.known ? grid.tempo : 120.0); }

double rowsPerBar(const MusicalGrid& grid) { return rowsPerBeat(grid) * (grid.known ? grid.beatsPerBar : 4); }

bool parseShowTime(const char* text, const MusicalGrid& grid, double maxRow, double* row) {
    std::string word = text;
    double value = 0;
    if (word.find(':') != std::string::npos) {
        if (parseBarBeat(word, grid, &value) != BarBeatProblem::none) return false;
    } else if (!word.empty() && word.back() == 's') {
        if (!parsePlainDecimal(word.substr(0, word.size() - 1), &value)) return false;
        value *= rowsPerSecond;
    } else if (!parsePlainDecimal(word, &value)) {
        return false;
    }
    if (!(value >= 0.0 && value <= maxRow)) return false;
    *row = value;
    return true;
}

MusicalGrid readMusicalGrid(const std::string& sourceText) {
    MusicalGrid grid;
    bool tempoSeen = false, barSeen = false, startSeen = false, good = true;
    std::istringstream lines(sourceText);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> words = wordsOfSourceLine(line);
        if (words.empty()) continue;
        const std::string& name = words[0];
        const std::string value = words.size() == 2 ? words[1] : "";  // a declaration holds one value
        if (name == "tempo" && !tempoSeen) {
            tempoSeen = true;
            good = good && parseTempo(value, &grid.tempo);
        } else if (name == "beats-per-bar" && !barSeen) {
            barSeen = true;
            good = good && parseBeatsPerBar(value, &grid.beatsPerBar);
        } else if (name == "start-row" && !startSeen) {
            startSeen = true;
            good = good && parseStartRow(value, &grid.startRow);
        }
    }
    grid.known = tempoSeen && good;
    return grid;
}

std::string barBeatText(const MusicalGrid& grid, double row) {
    if (!grid.known || !(row >= grid.startRow) || !std::isfinite(row)) return "";
    double beats = (row - grid.startRow) * grid.tempo / (rowsPerSecond * 60.0);
    double bar = std::floor(beats / grid.beatsPerBar);
    double beat = beats - bar * grid.beatsPerBar + 1.0;
    char text[64];
    if (std::fabs(beat - std::round(beat)) < 1e-6) {
        std::snprintf(text, sizeof text, "%.0f:%.0f", bar + 1.0, std::round(beat));
    } else {
        std::snprintf(text, sizeof text, "%.0f:%.2f", bar + 1.0, beat);
    }
    return text;
}
