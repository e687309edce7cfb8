// The display window and its fixed GL state.
#include "render/demo_window.h"

#include "platform/desktop.h"
#include "platform/offscreen_gl.h"
#include "render/viewport.h"

#include <GL/glew.h>
#include <GL/glu.h>

DemoWindow::DemoWindow() : width(0), height(0) {}

void DemoWindow::setSize(int width_, int height_) {
    width = width_;
    height = height_;
    scaleX = float(width) / designWidth;
    scaleY = float(height) / designHeight;
}

bool DemoWindow::open(int width_, int height_) {
    setSize(width_, height_);
    window = openFullScreenWindow(width, height, "Demo");
    if (!window) return false;
    initGL();
    glewInit();
    return true;
}

bool DemoWindow::openWindow(int width_, int height_, const char* title) {
    setSize(width_, height_);
    window = openResizableWindow(width, height, title);
    if (!window) return false;
    initGL();
    glewInit();
    return true;
}

void DemoWindow::resize(int width_, int height_) {
    if (!hasContext() || width_ <= 0 || height_ <= 0) return;
    setSize(width_, height_);
    setViewportAndProjection();
}

bool DemoWindow::followWindowSize() {
    if (!window) return false;
    int windowWidth = 0, windowHeight = 0;
    windowFramebufferSize(window, &windowWidth, &windowHeight);
    if (windowWidth <= 0 || windowHeight <= 0 || (windowWidth == width && windowHeight == height)) return false;
    resize(windowWidth, windowHeight);
    return true;
}

bool DemoWindow::openOffscreen(int width_, int height_) {
    setSize(width_, height_);
    offscreen = createOffscreenGL(width, height);
    if (!offscreen) return false;
    initGL();
    return true;
}

void DemoWindow::initGL() {
    glClearDepth(1.0);
    glClearStencil(0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
#ifndef __EMSCRIPTEN__
    // Desktop GL's hints; WebGL has neither (and rejects them).
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
#endif
    glEnable(GL_LINE_SMOOTH);
    glPolygonMode(GL_FRONT, GL_FILL);
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
#ifndef __EMSCRIPTEN__
    // Never enabled, so it draws nothing; a browser's GL emulation has no texture coordinate
    // generation at all and stops the program at the call.
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
#endif
    glEnable(GL_TEXTURE_2D);
    setViewportAndProjection();
    glLoadIdentity();
}

// The viewport letterboxed to the output size and the perspective projection for it, leaving the
// modelview matrix selected.
void DemoWindow::setViewportAndProjection() {
    Viewport viewport = letterboxViewport(width, height, designWidth, designHeight);
    glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    setPerspective();
    glMatrixMode(GL_MODELVIEW);
}

// The aspect is the whole output's, not the letterboxed viewport's; the near distance is the
// single-precision 0.0001 widened to double.
void DemoWindow::setPerspective() {
    gluPerspective(fov, double(float(width) / float(height)), double(0.0001f), 1000.0);
}

void DemoWindow::enableBlending() {
    if (hasContext()) glEnable(GL_BLEND);
}

void DemoWindow::disableDepthTest() {
    if (hasContext()) glDisable(GL_DEPTH_TEST);
}

void DemoWindow::clear(const Colour& colour) {
    if (!hasContext()) return;
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(colour.r, colour.g, colour.b, colour.a);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void DemoWindow::swapBuffers() {
    if (!window) return;
    presentWindow(window);
}

bool DemoWindow::isRunning() {
    if (!window) return true;
    return !escapePressed(window);
}

bool DemoWindow::close() {
    if (offscreen) {
        destroyOffscreenGL(offscreen);
        offscreen = nullptr;
    }
    closeWindows();
    window = nullptr;
    return true;
}

void DemoWindow::readPixels(uint8_t* out) {
    if (!hasContext()) return;
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, out);
}
