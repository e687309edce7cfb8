// Moves of the preview's play head on the musical grid.
#include "preview/transport.h"

#include "base/show_facts.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int loopBars = 4;
// Rows this close to a boundary count as on it: rows reached through decimal times are not exact.
constexpr double onBoundary = 1e-6;

double clampToShow(double row) { return std::min(std::max(row, 0.0), double(rowLimit)); }

double moveByUnits(const MusicalGrid& grid, double row, int units, double unitRows) {
    double position = (row - grid.startRow) / unitRows;
    double from = units < 0 ? std::ceil(position - onBoundary) : std::floor(position + onBoundary);
    return clampToShow(grid.startRow + (from + units) * unitRows);
}

}  // namespace

double moveByBeats(const MusicalGrid& grid, double row, int beats) {
    return moveByUnits(grid, row, beats, rowsPerBeat(grid));
}

double moveByBars(const MusicalGrid& grid, double row, int bars) {
    return moveByUnits(grid, row, bars, rowsPerBar(grid));
}

void toggleLoop(const MusicalGrid& grid, Transport* transport) {
    if (transport->looping) {
        transport->looping = false;
        return;
    }
    double loopRows = rowsPerBar(grid) * loopBars;
    double index = std::floor((transport->row - grid.startRow) / loopRows + onBoundary);
    transport->loopStart = grid.startRow + index * loopRows;
    transport->loopEnd = transport->loopStart + loopRows;
    transport->looping = true;
}

double wrapIntoLoop(const Transport& transport, double row) {
    double length = transport.loopEnd - transport.loopStart;
    if (!transport.looping || row < transport.loopEnd || !(length > 0.0)) return row;
    return transport.loopStart + std::fmod(row - transport.loopStart, length);
}
