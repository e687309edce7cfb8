// The show folder (the working directory) as the lint reads it: the 20 tracks through the demo's
// own reader, and every catalogue image's size and alpha, by catalogue entry.
#pragma once

#include "offline/lint_images.h"
#include "offline/lint_rows.h"
#include "render/frame_layers.h"
#include "runtime/asset_catalogue.h"
#include "runtime/track_set.h"
#include "sync/track_text.h"

#include <string>
#include <vector>

struct SyncDevice;

struct LintShow {
    SyncDevice* device = nullptr;  // owns the tracks
    TrackSet tracks = {};
    AssetCatalogue catalogue = {};       // every entry holds its own index in the load order
    std::vector<std::string> fileNames;  // by entry
    std::vector<ImageAlpha> images;      // by entry
    ImageSizes sizes;                    // by entry, as the scenes read them
    std::vector<bool> isText;            // by entry: lyrics, feature cards, credits, the logo
    MusicalGrid grid;
    int lastRow = 0;         // the show's last row
    std::string sourcePath;  // the choreography source the tracks were built from; "" when not given
    TrackSource source;      // its tracks and keys as written, each key with its line
};

// Reads the working directory's tracks and images, and the choreography source when a path is
// given (a source that does not parse leaves findings without source lines). False only when
// memory for the tracks runs out; damaged files read as the demo reads them (empty tracks,
// images that are not loaded).
bool loadLintShow(const MusicalGrid& grid, const std::string& sourcePath, LintShow* show);

// What stands behind a track's value at a row, for a finding: "track lyrics:good" and, with a
// source, where its key in force there is written: "track lyrics:good, key at
// show/choreography.tracks:212" (the track's line when the row lies before its first key).
std::string behindText(const LintShow& show, const char* trackName, int row);
void closeLintShow(LintShow* show);
