// The display window and its fixed GL state.
#include "render/demo_window.h"

#include "platform/desktop.h"
#include "platform/offscreen_gl.h"
#include "render/viewport.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <GLFW/glfw3.h>

DemoWindow* currentDisplay = nullptr;

DemoWindow::DemoWindow() : width(0), height(0) {}

namespace {

// The 8/8/8/8 colour, 16-bit depth and no stencil every window of the program asks for.
void requestFramebuffer() {
    glfwWindowHint(GLFW_RED_BITS, 8);
    glfwWindowHint(GLFW_GREEN_BITS, 8);
    glfwWindowHint(GLFW_BLUE_BITS, 8);
    glfwWindowHint(GLFW_ALPHA_BITS, 8);
    glfwWindowHint(GLFW_DEPTH_BITS, 16);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
}

}  // namespace

bool DemoWindow::open(int width_, int height_) {
    width = width_;
    height = height_;
    reportWindowErrors();
    if (glfwInit() != GLFW_TRUE) return false;
    glfwSetTime(0.0);  // the frame timer starts with the display, whoever initialised GLFW first
    requestFramebuffer();
    // Full screen at the desktop's own video mode, refresh rate included, so the monitor's mode
    // is never switched (and never left switched should the program end early).
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* desktop = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (desktop) glfwWindowHint(GLFW_REFRESH_RATE, desktop->refreshRate);
    window = glfwCreateWindow(width, height, "Demo", monitor, nullptr);
    if (!window) {
        glfwTerminate();
        return false;
    }
    glfwMakeContextCurrent(window);
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
    // Key presses are latched until read: a tap of Escape whose press and release both fall
    // between two slow frames still ends the show at the next frame.
    glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
    glfwSwapInterval(1);
    glfwSetWindowTitle(window, "Demo");
    initGL();
    glewInit();
    return true;
}

bool DemoWindow::openWindow(int width_, int height_, const char* title) {
    scaleX = float(width_) / designWidth;
    scaleY = float(height_) / designHeight;
    width = width_;
    height = height_;
    reportWindowErrors();
    if (glfwInit() != GLFW_TRUE) return false;
    requestFramebuffer();
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    window = glfwCreateWindow(width, height, title, nullptr, nullptr);
    if (!window) {
        glfwTerminate();
        return false;
    }
    glfwMakeContextCurrent(window);
    glfwSwapInterval(1);
    initGL();
    glewInit();
    return true;
}

void DemoWindow::resize(int width_, int height_) {
    if (!hasContext() || width_ <= 0 || height_ <= 0) return;
    width = width_;
    height = height_;
    scaleX = float(width) / designWidth;
    scaleY = float(height) / designHeight;
    setViewportAndProjection();
}

bool DemoWindow::openOffscreen(int width_, int height_) {
    width = width_;
    height = height_;
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
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_LINE_SMOOTH);
    glPolygonMode(GL_FRONT, GL_FILL);
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
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

void DemoWindow::clear(const Colour& colour) {
    if (!hasContext()) return;
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(colour.r, colour.g, colour.b, colour.a);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void DemoWindow::swapBuffers() {
    if (!window) return;
    glfwSwapBuffers(window);
    glfwPollEvents();
}

bool DemoWindow::isRunning() {
    if (!window) return true;
    return glfwGetKey(window, GLFW_KEY_ESCAPE) != GLFW_PRESS;
}

bool DemoWindow::close() {
    if (offscreen) {
        destroyOffscreenGL(offscreen);
        offscreen = nullptr;
    }
    glfwTerminate();
    window = nullptr;
    return true;
}

void DemoWindow::readPixels(unsigned int format, uint8_t* out) {
    if (!hasContext()) return;
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, format, GL_UNSIGNED_BYTE, out);
}
