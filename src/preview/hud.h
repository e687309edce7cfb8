// The preview's heads-up display: what it says (plain text lines, worked out from the transport,
// the tracks and the catalogue) and those lines over the finished frame.
#pragma once

#include "preview/transport.h"
#include "runtime/asset_catalogue.h"
#include "runtime/track_set.h"

#include <string>
#include <vector>

class DemoWindow;

// "row 1200.00  26:1  50.000 s  14.2 fps", then "paused" and "loop 25:1-29:1" when they hold.
std::string hudStatusLine(const Transport& transport, const MusicalGrid& grid, double framesPerSecond);

// One line per track with its value at the row, then one per image group with the entry showing
// ("good face: 3 data/avatars/basic_3.png", or "good face: none").
std::vector<std::string> hudTrackLines(const TrackSet& tracks, AssetCatalogue* catalogue, double row);

// Draws the lines top-left on a dark panel; `alert` draws them in red (an error to fix).
void drawHudLines(DemoWindow* display, const std::vector<std::string>& lines, bool alert);
