// The show's 145 images by file name, each written once: the parts of the show they belong to
// and the one order in which the demo loads them. The demo's catalogue, the art generator that
// draws them, the test cards and the show folder's checks all read the names from here.
#pragma once

#include <string>
#include <vector>

// The parts of the show, in load order. Each holds one image or a numbered run of them.
enum class ShowImagePart {
    goodFaces,   // Pip's ten faces
    evilFaces,   // Count Glitch's five frames
    goodBubble,  // the bare speech bubbles
    evilBubble,
    goodLyrics,  // the lyric lines, numbered from 01
    evilLyrics,
    refrainBackground,  // the refrain's three layers
    refrainSun,
    refrainForeground,
    pictograms,      // five rows of four
    features,        // twelve headline cards
    polaroids,       // three sets of photographs (5, 14, 14)
    credits,         // the title card, then five credits
    tunnelTextures,  // three tiling textures
    logo,
};

constexpr int showImagePartCount = int(ShowImagePart::logo) + 1;
constexpr int showImageCount = 145;

// The pictograms are numbered "ROW.COLUMN", this many to a row.
constexpr int pictogramsPerRow = 4;
// The photographs of the three refrains, one set each: "omkvaedSET.N", both counted from 1.
constexpr int polaroidSetCount = 3;
constexpr int polaroidSetSizes[polaroidSetCount] = {5, 14, 14};

// Images in each part, in the order of ShowImagePart.
constexpr int showImagePartSizes[showImagePartCount] = {
    10, 5,
    1,  1,
    32, 18,
    1,  1,
    1,  5 * pictogramsPerRow,
    12, polaroidSetSizes[0] + polaroidSetSizes[1] + polaroidSetSizes[2],
    6,  3,
    1};

// How many images the part holds.
constexpr int showImagePartSize(ShowImagePart part) {
    return int(part) >= 0 && int(part) < showImagePartCount ? showImagePartSizes[int(part)] : 0;
}

struct ShowImage {
    std::string fileName;  // relative to the show folder: "data/..."
    ShowImagePart part;
    int index;  // its place within the part, from 0
};

// The file name of the part's image at `index` (from 0); "" when the part has no such image.
std::string showImageFileName(ShowImagePart part, int index);

// Every image, part after part, in load order.
std::vector<ShowImage> showImages();

// Beside the images in the show folder, the art generator lists the size it drew each one at,
// "FILE WIDTH HEIGHT" a line: the size the show's checks expect of an image put in its place.
constexpr const char* generatedImageSizesFileName = "generated-images.txt";
