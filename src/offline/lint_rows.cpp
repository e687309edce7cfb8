// Naming rows for the lint's findings.
#include "offline/lint_rows.h"

#include "base/show_facts.h"

#include <algorithm>
#include <cmath>

std::string rowSpanText(const MusicalGrid& grid, int firstRow, int lastRow) {
    std::string text = firstRow == lastRow ? "row " + std::to_string(firstRow)
                                           : "rows " + std::to_string(firstRow) + "-" + std::to_string(lastRow);
    std::string from = barBeatText(grid, firstRow), to = barBeatText(grid, lastRow + 1.0);
    if (from.empty() || to.empty()) return text;
    return text + " (" + from + " to " + to + ")";
}

bool rowsOfEvent(double row, double length, int lastRow, RowSpan* span) {
    double start = std::ceil(row);
    if (!(start <= double(lastRow))) return false;
    double end = std::min(std::ceil(row + length), double(lastRow) + 1.0);
    span->first = int(start);
    span->last = std::max(span->first, int(end) - 1);
    return true;
}
