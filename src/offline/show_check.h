// The checks `demo-check` runs on a show folder (the working directory): the catalogue images,
// the track files, the song and the shaders. Each check returns one line per problem, the file
// it concerns first ("data/zemlogo.png: ..."); an empty list means the part is fine.
#pragma once

#include <string>
#include <vector>

using ProblemList = std::vector<std::string>;

// Every catalogue image present, decodable, no side over the texture store's cap, and of a size
// that suits where the show draws it (see the placement table in show_check.cpp).
ProblemList checkCatalogueImages();

// Every track file well formed, with the problems `demo-tracks check` names.
ProblemList checkTrackFiles();

// The song: an MP3 of 44100 Hz stereo that decodes to at least the show's rowLimit rows.
ProblemList checkSong();

// The shader program: both files readable, compiling and linking without a log line, with the
// uniforms the show sets. Opens its own offscreen GL context for the purpose.
ProblemList checkShaders();

// All four checks, in that order.
ProblemList checkShowFolder();
