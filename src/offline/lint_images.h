// The show's images as the lint sees them: each image's size and how opaque it is where, kept as
// the mean alpha of small square cells (the image itself is not kept), with the boxes of its
// painted and of its opaque pixels, its mean alpha and the mean alpha of its outer band.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A box of pixels, left and top included, right and bottom excluded.
struct PixelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

constexpr int alphaCellSide = 4;           // pixels a side of the cells whose mean alpha is kept
constexpr double edgeBandFraction = 0.03;  // of the rows and of the columns, on each side

struct ImageAlpha {
    bool loaded = false;  // false when the file is missing, undecodable or over the store's cap
    int width = 0;
    int height = 0;
    int cellsAcross = 0;
    int cellsDown = 0;
    std::vector<uint8_t> cells;  // mean alpha of each cell, 0-255, rows of cells top first
    PixelBox painted;            // the pixels with any alpha at all
    PixelBox opaque;             // the pixels at least half opaque
    double meanAlpha = 0.0;      // over the whole image, 0 to 1
    double edgeAlpha = 0.0;      // over the outermost edgeBandFraction of rows and columns on
                                 // all four sides (at least one pixel deep), 0 to 1
};

// Decodes an image as the texture store would (the same cap on its sides) and keeps its alpha.
ImageAlpha readImageAlpha(const std::string& path);

// The mean alpha, 0 to 1, of the cell holding the image pixel (x, y); 0 outside the image.
float cellAlpha(const ImageAlpha& image, float x, float y);
