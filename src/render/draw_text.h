// Lines of text over the finished frame, for tools that show their state on the picture: a dark
// panel at the top left in the window's own pixels (not the letterboxed picture's), through the
// same GL state, which is left as it was found.
#pragma once

#include "render/types.h"

#include <string>
#include <vector>

class DemoWindow;

// Draws the lines in the colour on a dark panel; the font's glyphs are 7 pixels high, drawn twice
// that from a 540-line window up. Nothing without a GL context or without lines.
void drawTextPanel(DemoWindow* display, const std::vector<std::string>& lines, Colour textColour);
