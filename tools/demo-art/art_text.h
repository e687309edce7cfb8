// Text on the show's images: the four Debian fonts the art is set in, found through fontconfig
// and loaded through FreeType, and helpers that measure, fit and draw lines of text.
#pragma once

#include <cairo.h>

#include "art_canvas.h"

#include <string>
#include <vector>

// The faces the art uses. Each comes from a Debian font package, named when it is missing.
struct ArtFonts {
    cairo_font_face_t* rounded;   // Comic Neue Bold: lyrics, credits, small labels
    cairo_font_face_t* hand;      // Dancing Script Bold: handwritten captions
    cairo_font_face_t* headline;  // League Spartan Black: headlines and the logo
    cairo_font_face_t* plain;     // DejaVu Sans Bold: symbols and fallback labels
};

// Finds and loads the four faces. Returns 0, or -1 after printing which font is missing.
int loadArtFonts(ArtFonts* fonts);
void freeArtFonts(ArtFonts* fonts);

// Selects a face at a pixel size with fixed rendering options (grey anti-aliasing, no hinting),
// so the pixels do not depend on the machine's font settings.
void useFont(cairo_t* cr, cairo_font_face_t* face, double size);

// Advance width of the text in the current font, in user units.
double textWidth(cairo_t* cr, const std::string& text);

// Adds the text's outline to the path with its baseline's centre at (x, y).
void centredTextPath(cairo_t* cr, const std::string& text, double x, double y);

// The largest size, up to `largest`, at which the text fits the width in the face; 0 when none
// from `smallest` up does. Sizes are tried in whole pixels.
double fittingSize(cairo_t* cr, cairo_font_face_t* face, const std::string& text, double width, double largest,
                   double smallest);

// Splits text into at most two rows that balance in width (at a space near the middle).
std::vector<std::string> splitInTwo(const std::string& text);

// Draws text centred on (x, baselineY): an ink outline of the given width under a fill.
void drawOutlinedText(cairo_t* cr, const std::string& text, double x, double baselineY, Rgb fill, double outline);
