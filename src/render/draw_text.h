// Lines of text over the finished frame, for tools that show their state on the picture: a dark
// panel at the top left in the window's own pixels (not the letterboxed picture's), through the
// same GL state, which is left as it was found.
#pragma once

#include "render/types.h"

#include <string>
#include <vector>

class DemoWindow;

struct TextPanelLayout {
    std::vector<std::string> lines;  // as drawn: each fits the window's width
    float scale = 1.0f;              // window pixels a font pixel
};

// How lines are laid out in a window of the size: the font's glyphs are 7 pixels high, drawn
// twice that from a 540-line window up when there are only a few lines and they fit; a longer
// list (the preview's tracks) stays small so the picture is seen. A line wider than the window
// is wrapped (at a space where it can be, the rest indented), never cut.
TextPanelLayout layoutTextPanel(const std::vector<std::string>& lines, int windowWidth, int windowHeight);

// Draws the lines, laid out as above, in the colour on a translucent dark panel. Nothing without
// a GL context or without lines.
void drawTextPanel(DemoWindow* display, const std::vector<std::string>& lines, Colour textColour);
