// What keeps one of the show's image files from loading as the demo loads it, in words a show
// maker reads: "missing", "a FIFO, not a regular file", "not a PNG, or truncated", a size over
// the texture store's cap. The show folder's checks, the coverage and the capture tool all name
// an image that cannot be loaded with these words, so they treat it alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ImageFileSize {
    int width;
    int height;
};

// "missing", "a FIFO, not a regular file" and the like for a path that is no regular file; ""
// for one that is.
std::string fileProblem(const std::string& path);

// Decodes the image as the texture store does, counting it against the store's budget for all
// images (*budgetUsed, RGBA bytes; null to judge the image alone). The problem, or "" with its
// size filled in.
std::string imageFileProblem(const std::string& path, ImageFileSize* size, int64_t* budgetUsed);

// An image the show cannot draw, named with why.
struct ImageHole {
    std::string fileName;
    std::string problem;
};

// "data/features/3.png: missing; the show draws a hole where it stands"
std::string imageHoleText(const ImageHole& hole);
// "2 images cannot be loaded (1 missing, 1 not a PNG, or truncated): the show has holes where
// they stand"; "" when there are none.
std::string imageHolesSummary(const std::vector<ImageHole>& holes);
