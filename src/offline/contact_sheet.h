// A contact sheet of the show: thumbnails of frames at regular rows laid out in a grid, each
// with a label (row, time, bar:beat) under it, composed in memory as one RGBA image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ContactSheet {
    int thumbWidth = 0, thumbHeight = 0;
    int columns = 0, count = 0;
    int width = 0, height = 0;  // of the whole sheet
    std::vector<uint8_t> rgba;  // top row first
};

// Height of the label strip under each thumbnail, in pixels.
constexpr int sheetLabelHeight = 16;
// Largest sheet side accepted: larger grids are refused rather than allocated.
constexpr int sheetMaxSide = 16384;

// The rows a sheet shows: from, from + step, ... while below `to`. Empty when step is not positive.
std::vector<double> contactSheetRows(double from, double to, double step);

// Sets the sheet up for `count` thumbnails of the size in `columns` columns, filled with dark grey.
// False (and nothing allocated) when any size is not positive or the sheet would exceed sheetMaxSide.
bool startContactSheet(ContactSheet* sheet, int count, int columns, int thumbWidth, int thumbHeight);

// Copies thumbnail `index` (thumbWidth x thumbHeight RGBA, top row first) into its cell and writes
// the label under it in the built-in bitmap font. Indices outside the sheet are ignored.
void placeThumbnail(ContactSheet* sheet, int index, const uint8_t* rgba, const std::string& label);

// "row 1152  48.0 s  25:1" (the bar:beat part only when given).
std::string thumbnailLabel(double row, const std::string& barBeat);
