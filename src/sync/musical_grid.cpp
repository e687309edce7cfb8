// Reading a source's musical grid and naming rows on it.
#include "sync/musical_grid.h"

#include "base/show_facts.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

bool parseNumber(const std::string& word, double* value) {
    char* end = nullptr;
    double parsed = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || !std::isfinite(parsed)) return false;
    *value = parsed;
    return true;
}

}  // namespace

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
