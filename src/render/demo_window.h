// The one display of the program: a full-screen window of the desktop (or, for the capture tool
// and the tests, an offscreen GL context), both made by the platform layer, with the fixed GL
// state, a viewport letterboxed to the 1280x720 design space and a perspective projection, the
// per-frame operations, and the two 2-D draws on which the frame's layers are drawn.
//
// Every operation that would touch GL checks hasContext() first, so a display that never opened
// (no X server) or has been closed makes no GL call at all.
#pragma once

#include "base/show_facts.h"
#include "render/types.h"

#include <cstdint>

struct GLFWwindow;
struct OffscreenGL;

class DemoWindow {
public:
    int32_t width;  // output size in pixels, written by open
    int32_t height;
    bool in2D = false;    // the temporary 2-D projection of a 2-D draw is in force
    float fov = 90.0f;    // vertical field of view, degrees
    float scaleX = 1.0f;  // output width / design width, written with the size
    float scaleY = 1.0f;  // output height / design height, written with the size
    float designWidth = float(designSpaceWidth);
    float designHeight = float(designSpaceHeight);

    DemoWindow();

    // Opens the full-screen window and its GL context at the size. False when the window cannot
    // be made; the windowing library's reason is then on standard error. The size and scale are
    // written whether or not it opens.
    bool open(int width, int height);
    // Opens a resizable window of the size (not full screen) with the same GL state, for tools
    // that show the picture beside other work.
    bool openWindow(int width, int height, const char* title);
    // Takes a new output size (the window was resized or went full screen): scale, letterboxed
    // viewport and projection follow.
    void resize(int width, int height);
    // Takes the window's framebuffer size when it differs from the output's (a window resized, a
    // page's canvas gone full screen); true when the size changed.
    bool followWindowSize();
    // The desktop window, for the tools that handle its keys and size through the platform layer;
    // null when none is open.
    GLFWwindow* desktopWindow() const { return window; }
    // Opens an offscreen GL context of the given size (EGL, no window system) with the same state.
    bool openOffscreen(int width, int height);
    void initGL();
    // Blending (source alpha, one minus source alpha) on, as it stays while frames are drawn.
    void enableBlending();
    // Depth testing off, as the show leaves it from its first sprite on: a renderer that may start
    // at any frame draws every frame, the first included, in that state.
    void disableDepthTest();
    void clear(const Colour& colour);
    void swapBuffers();
    bool isRunning();
    bool close();

    bool hasContext() const { return window != nullptr || offscreen != nullptr; }
    // Reads the current frame back, bottom row first, RGBA.
    void readPixels(uint8_t* out);

    // An output-sized quad at origin, in output pixels, over the letterboxed viewport.
    void drawQuad(const Vec3& origin, const Vec2& tcA, const Vec2& tcB);
    // The image of a texture slot with its top-left corner at a design-space position, at its
    // pixel size times scale, turned clockwise on screen about its centre, in the current colour.
    // A slot the store does not hold draws nothing. Only the pixels its visible texels can reach
    // are touched (an image with none draws nothing), unless it is drawn whole, for comparing.
    void drawSprite(int slot, const Vec2& scale, Vec2 position, float angleDegrees, bool whole = false);
    // Whether the slot's image, drawn unscaled and unturned at a design-space position in opaque
    // colour, covers the whole output with opaque texels: nothing drawn before it then shows.
    bool spriteCoversOutput(int slot, Vec2 position) const;

private:
    GLFWwindow* window = nullptr;
    OffscreenGL* offscreen = nullptr;

    void setSize(int width, int height);
    void setPerspective();
    void setViewportAndProjection();
    void switchTo2D();
    void restoreFrom2D();
};
