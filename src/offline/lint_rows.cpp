// Naming rows for the lint's findings.
#include "offline/lint_rows.h"

#include "base/show_facts.h"

std::string rowSpanText(const MusicalGrid& grid, int firstRow, int lastRow) {
    std::string text = firstRow == lastRow ? "row " + std::to_string(firstRow)
                                           : "rows " + std::to_string(firstRow) + "-" + std::to_string(lastRow);
    std::string from = barBeatText(grid, firstRow), to = barBeatText(grid, lastRow + 1.0);
    if (from.empty() || to.empty()) return text;
    return text + " (" + from + " to " + to + ")";
}
