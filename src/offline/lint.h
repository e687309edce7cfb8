// The lint of a show folder (the working directory): rules a show must live with, judged from
// the engine's own drawing order, placements, ranges, tracks and images as a viewer would see
// the show: bubbles, hidden text, flashes, safe area, song, still face, short lyric, backdrop and
// seams.
#pragma once

#include "offline/lint_rows.h"

#include <string>
#include <vector>

struct LintReport {
    std::vector<std::string> lines;  // one per finding, the rule's name first
    std::string summary;             // "lint: bubbles ok, hidden text ok, ..."
    bool failed = false;             // some rule found something, or could not be judged (unless
                                     // what it needs is optional)
};

// Runs every rule. Positions are named with the grid (as bars and beats too when it is known);
// with the choreography source's path, findings name the source line behind them.
LintReport lintShowFolder(const MusicalGrid& grid, const std::string& sourcePath = "");
