// Which of the show's images the choreography ever shows: the tracks of the working directory
// are followed through the show, row by row, with the scenes' own selection rules, and each
// catalogue entry gets the first row at which it is visible.
#pragma once

#include <string>
#include <vector>

struct TrackSet;

struct CoverageEntry {
    std::string fileName;
    double firstRow;      // -1 when the entry is never visible
    std::string problem;  // why the image cannot be loaded ("missing", "not a PNG, or truncated"); "" when it loads
};

// Steps through rows 0 to the row limit a quarter row at a time. Images are measured from the
// working directory (the refrain's layers are visible only where they reach the screen), and
// each is loaded as the demo loads it: one that cannot be is a hole where the show draws it.
std::vector<CoverageEntry> catalogueCoverage(const TrackSet& tracks);
