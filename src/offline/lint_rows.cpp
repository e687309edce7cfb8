// Naming rows for the lint's findings.
#include "offline/lint_rows.h"

#include "base/show_facts.h"
#include "sync/track_text.h"

#include <cerrno>
#include <cstring>

namespace {

constexpr double rowsPerMinute = rowsPerSecond * 60.0;
constexpr double defaultRowsPerBar = 48.0;

}  // namespace

double rowsPerBar(const MusicalGrid& grid) {
    return grid.known ? rowsPerMinute / grid.tempo * grid.beatsPerBar : defaultRowsPerBar;
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

std::string rowSpanText(const MusicalGrid& grid, int firstRow, int lastRow) {
    std::string text = firstRow == lastRow ? "row " + std::to_string(firstRow)
                                           : "rows " + std::to_string(firstRow) + "-" + std::to_string(lastRow);
    std::string from = barBeatText(grid, firstRow), to = barBeatText(grid, lastRow + 1.0);
    if (from.empty() || to.empty()) return text;
    return text + " (" + from + " to " + to + ")";
}
