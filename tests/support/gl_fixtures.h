// Test helpers for drawing: an offscreen display with its own texture store, pixel reads from the
// top-left, and PNG images written by the tests.
#pragma once

#include "render/demo_window.h"
#include "render/texture_store.h"

#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
    int r, g, b, a;
};

// An image filled with one colour; components 1 to 4 take the first components of the colour.
std::vector<uint8_t> solidImage(int width, int height, int components, Rgba colour);
bool writePng(const std::string& path, int width, int height, int components, const std::vector<uint8_t>& pixels);

// A display opened offscreen at an output size, with the scale factors the start-up would set and
// its own texture store published as the program's store, blending on as in the main loop.
struct OffscreenView {
    DemoWindow window;
    TextureStore store;
    std::vector<uint8_t> frame;

    bool open(int width, int height);
    ~OffscreenView();
    void read();                         // reads the frame back
    Rgba at(int x, int yFromTop) const;  // a pixel of the last frame read
};

// A PNG read back as 8-bit RGB, rows from the top; empty when it does not decode.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    uint8_t red(int x, int y) const { return rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};
Picture loadPicture(const std::string& path);
// The largest difference of any channel of any pixel from row `top` on; 256 when the sizes differ.
int largestDifference(const Picture& a, const Picture& b, int top = 0);

// True when the red, green and blue of a are each within tolerance of b (alpha is not compared:
// blending writes its own alpha into the frame).
bool near(Rgba a, Rgba b, int tolerance = 2);
std::string describe(Rgba colour);
