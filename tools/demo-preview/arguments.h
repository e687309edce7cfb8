// demo-preview's command line.
#pragma once

#include "sync/musical_grid.h"

#include <string>

struct PreviewOptions {
    std::string from = "0";  // as given; read once the source's grid is known
    bool paused = false;
    std::string source;  // the choreography source to watch and to name bars from; none when empty
    int width = 1280;
    int height = 720;
    bool trace = false;
    bool help = false;
};

extern const char* const previewUsage;

// Parses the command line. Returns an empty string when it is good, else what is wrong with it.
std::string parsePreviewOptions(int argc, char** argv, PreviewOptions* options);

// The grid of the source (or the default grid without one), and the start row from --from on
// it. Returns an empty string, or what is wrong: an unreadable source or a time that does not
// parse.
std::string resolveStart(const PreviewOptions& options, MusicalGrid* grid, double* row);
