// The show's choreography source compiled as the build and the preview compile it: the text
// parsed, its track names held to the show's 20 tracks, the song's events read (with the song's
// fit: sync/song_fit.h) and the accents laid. A name the show does not have is an error that
// names the nearest one it has; a show track the source leaves out is a warning, for the demo
// sees it as 0 at every row.
#pragma once

#include <string>

#include "sync/track_text.h"

// Compiles a source text; the working directory is the show folder its `events` file lies in.
TrackSource compileShowSource(const std::string& text);

// The show's track name nearest to `name`: the fewest characters to change, add or remove, the
// letters' case aside (the first such name in request order on a tie).
const char* nearestTrackName(const std::string& name);
