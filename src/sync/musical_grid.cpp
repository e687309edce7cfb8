// Reading a source's musical grid and naming rows on it.
#include "sync/musical_grid.h"

#include "base/show_facts.h"
#include "sync/track_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

bool parseNumber(const std::string& word, double* value) {
    char* end = nullptr;
    double parsed = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || !std::isfinite(parsed)) return false;
    *value = parsed;
    return true;
}

// Digits with at most one point, nothing else; "." alone is no number.
bool parsePlainDecimal(const std::string& text, double* value) {
    if (text.empty() || text == "." || text.find_first_not_of("0123456789.") != std::string::npos ||
        text.find('.') != text.rfind('.')) {
        return false;
    }
    *value = std::strtod(text.c_str(), nullptr);
    return std::isfinite(*value);
}

bool parseBarBeat(const std::string& text, const MusicalGrid& grid, double* row) {
    size_t colon = text.find(':');
    double bar = 0, beat = 0;
    if (!grid.known || !parsePlainDecimal(text.substr(0, colon), &bar) ||
        !parsePlainDecimal(text.substr(colon + 1), &beat)) {
        return false;
    }
    if (bar < 1 || bar != std::floor(bar) || beat < 1 || beat >= grid.beatsPerBar + 1) return false;
    *row = grid.startRow + (bar - 1) * rowsPerBar(grid) + (beat - 1) * rowsPerBeat(grid);
    return true;
}

}  // namespace

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
        if (!parseBarBeat(word, grid, &value)) return false;
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
        std::istringstream words(line.substr(0, line.find('#')));
        std::string name, word;
        if (!(words >> name >> word)) continue;
        double value = 0.0;
        if (name == "tempo" && !tempoSeen) {
            tempoSeen = true;
            good = good && parseNumber(word, &grid.tempo) && grid.tempo > 0.0 && grid.tempo <= 10000.0;
        } else if (name == "beats-per-bar" && !barSeen) {
            barSeen = true;
            good = good && parseNumber(word, &value) && value >= 1.0 && value <= 64.0 && value == std::floor(value);
            grid.beatsPerBar = int(value);
        } else if (name == "start-row" && !startSeen) {
            startSeen = true;
            good = good && parseNumber(word, &grid.startRow) && grid.startRow >= 0.0 && grid.startRow < 1e9;
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
