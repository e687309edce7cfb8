// How the lint names a stretch of rows: as rows, and, when it has read the choreography's source,
// also as bar:beat positions on the source's musical grid (its tempo, beats a bar and start row).
#pragma once

#include "sync/musical_grid.h"

#include <string>

// "rows 1632-1727 (35:1 to 37:1)": the stretch's first and last row and, on a known grid, where it
// starts and where the row after it starts. "row 1632 (35:1 to 35:1.08)" for a single row.
std::string rowSpanText(const MusicalGrid& grid, int firstRow, int lastRow);

struct RowSpan {
    int first;
    int last;
};

// The show's whole rows within an event's time (from `row`, `length` rows; at least its first
// row), up to lastRow; false when it starts after them.
bool rowsOfEvent(double row, double length, int lastRow, RowSpan* span);
