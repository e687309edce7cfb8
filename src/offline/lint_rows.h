// How the lint names a stretch of rows: as rows, and, when it has read the choreography's source,
// also as bar:beat positions on the source's musical grid (its tempo, beats a bar and start row).
#pragma once

#include "sync/musical_grid.h"

#include <string>

// Rows in a bar of the grid; 48 (four beats at 120 a minute) when the grid is not known.
double rowsPerBar(const MusicalGrid& grid);

// Reads the grid a choreography source declares. False with the reason when the file cannot be
// read; a source without a usable tempo gives a grid that is not known.
bool readSourceGrid(const std::string& path, MusicalGrid* grid, std::string* problem);

// "rows 1632-1727 (35:1 to 37:1)": the stretch's first and last row and, on a known grid, where it
// starts and where the row after it starts. "row 1632 (35:1 to 35:1.08)" for a single row.
std::string rowSpanText(const MusicalGrid& grid, int firstRow, int lastRow);
