// The image groups of the show, one drawing function each. Each writes its PNG files under
// the output root at the paths the demo loads them from, and returns 0, or -1 after printing
// what went wrong (a bad source file, a file that cannot be written).
#pragma once

#include <string>

#include "art_text.h"
#include "base/show_images.h"  // the file names

struct ArtJob {
    std::string outRoot;  // the show folder: images go to outRoot/data/...
    std::string showDir;  // the sources: lyrics.txt and art-texts.txt
    ArtFonts fonts;
};

int drawAvatarImages(const ArtJob& job);     // data/avatars: 10 good faces, 5 villain frames
int drawLyricImages(const ArtJob& job);      // the two bubbles and the 50 lyric lines
int drawPictogramImages(const ArtJob& job);  // data/pictograms: 5 themes of 4
int drawFeatureImages(const ArtJob& job);    // data/features: 12 headline cards
int drawRefrainImages(const ArtJob& job);    // data/refrain: background, sun, foreground
int drawPolaroidImages(const ArtJob& job);   // data/refrain/polaroids: 33 photos in a pile
int drawCreditImages(const ArtJob& job);     // data/credits: 6 cards
int drawTunnelImages(const ArtJob& job);     // data/tunnel: 3 tiling textures
int drawLogoImage(const ArtJob& job);        // data/zemlogo.png

// Lists the size of every image drawn, after a run of all the groups.
int writeImageSizes(const ArtJob& job);

// The art texts file (headlines, captions, credits, logo) inside the show sources.
std::string artTextsPath(const ArtJob& job);
std::string lyricsPath(const ArtJob& job);
