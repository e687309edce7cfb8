// The desktop's windows in a browser, through the windowing library's browser port: the page's
// canvas is the window. Built only for the browser, in the place of desktop.cpp.
//
// The port differs from the desktop library where this file makes up for it: there is no video
// mode (the desktop size is the size in pixels the page gave its canvas, which the page changes
// when the window does or goes full screen), no full screen without a click, no
// swap interval before the page's frame loop exists (the browser paces frames itself), and no
// sticky keys, so a press of Escape is latched here until it is read.
#include "platform/desktop.h"

#include "platform/glfw_parts.h"

#include <GLFW/glfw3.h>
#include <emscripten/html5.h>

namespace {

bool escapeLatched = false;

void onKey(GLFWwindow* window, int key, int, int action, int mods) {
    if (action == GLFW_RELEASE) return;
    if (key == GLFW_KEY_ESCAPE) escapeLatched = true;
    const KeyListener* listener = static_cast<const KeyListener*>(glfwGetWindowUserPointer(window));
    if (listener) listener->handler(listener->context, keyOfGlfwKey(key), (mods & GLFW_MOD_SHIFT) != 0);
}

GLFWwindow* openCanvasWindow(int width, int height, const char* title) {
    reportWindowErrors();
    if (glfwInit() != GLFW_TRUE) return nullptr;
    glfwSetTime(0.0);
    requestFramebuffer();
    GLFWwindow* window = glfwCreateWindow(width, height, title, nullptr, nullptr);
    if (!window) {
        glfwTerminate();
        return nullptr;
    }
    glfwMakeContextCurrent(window);
    glfwSetKeyCallback(window, onKey);
    return window;
}

}  // namespace

bool desktopSize(int* width, int* height) {
    int canvasWidth = 0, canvasHeight = 0;
    if (emscripten_get_canvas_element_size("#canvas", &canvasWidth, &canvasHeight) != EMSCRIPTEN_RESULT_SUCCESS) {
        return false;
    }
    if (canvasWidth < 1 || canvasHeight < 1) return false;
    *width = canvasWidth;
    *height = canvasHeight;
    return true;
}

GLFWwindow* openFullScreenWindow(int width, int height, const char* title) {
    return openCanvasWindow(width, height, title);
}

GLFWwindow* openResizableWindow(int width, int height, const char* title) {
    return openCanvasWindow(width, height, title);
}

void presentWindow(GLFWwindow* window) {
    glfwSwapBuffers(window);
    glfwPollEvents();
}

bool escapePressed(GLFWwindow* window) {
    bool pressed = escapeLatched || glfwGetKey(window, GLFW_KEY_ESCAPE) == GLFW_PRESS;
    escapeLatched = false;
    return pressed;
}

void closeWindows() { glfwTerminate(); }

double frameTimerSeconds() { return glfwGetTime(); }

// The canvas's own size: the page sizes it (to the window times the device pixel ratio, or to the
// screen in full screen), which the port's idea of its window does not follow.
void windowFramebufferSize(GLFWwindow*, int* width, int* height) {
    if (emscripten_get_canvas_element_size("#canvas", width, height) != EMSCRIPTEN_RESULT_SUCCESS) {
        *width = 0;
        *height = 0;
    }
}

void waitForWindowEvents(double) {}

bool goFullScreen(GLFWwindow*, WindowedPlace*) { return false; }

void goWindowed(GLFWwindow*, const WindowedPlace&) {}

void handleWindowKeys(GLFWwindow* window, const KeyListener* listener) {
    glfwSetWindowUserPointer(window, const_cast<KeyListener*>(listener));
}
