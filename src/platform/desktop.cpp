// The desktop's windows through GLFW. GLFW stays initialised from the desktop size query until
// the windows are closed: shutting it down in between would close the connection to the X server,
// and a server with no other client resets itself when its last client leaves, refusing the
// window's own connection a moment later while it does (the show would then play without a
// window).
#include "platform/desktop.h"

#include <GLFW/glfw3.h>

#include <cstdio>

namespace {

void printWindowError(int code, const char* description) {
    std::fprintf(stderr, "window system error %#x: %s\n", code, description ? description : "");
}

// The 8/8/8/8 colour, 16-bit depth and no stencil every window of the program asks for.
void requestFramebuffer() {
    glfwWindowHint(GLFW_RED_BITS, 8);
    glfwWindowHint(GLFW_GREEN_BITS, 8);
    glfwWindowHint(GLFW_BLUE_BITS, 8);
    glfwWindowHint(GLFW_ALPHA_BITS, 8);
    glfwWindowHint(GLFW_DEPTH_BITS, 16);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
}

GLFWwindow* madeCurrent(GLFWwindow* window) {
    if (!window) {
        glfwTerminate();
        return nullptr;
    }
    glfwMakeContextCurrent(window);
    glfwSwapInterval(1);
    return window;
}

Key keyOf(int key) {
    switch (key) {
    case GLFW_KEY_ESCAPE: return Key::Escape;
    case GLFW_KEY_SPACE: return Key::Space;
    case GLFW_KEY_LEFT: return Key::Left;
    case GLFW_KEY_RIGHT: return Key::Right;
    case GLFW_KEY_PAGE_UP: return Key::PageUp;
    case GLFW_KEY_PAGE_DOWN: return Key::PageDown;
    case GLFW_KEY_HOME: return Key::Home;
    case GLFW_KEY_TAB: return Key::Tab;
    case GLFW_KEY_L: return Key::L;
    case GLFW_KEY_H: return Key::H;
    case GLFW_KEY_F: return Key::F;
    case GLFW_KEY_F11: return Key::F11;
    default: return Key::Other;
    }
}

void onKey(GLFWwindow* window, int key, int, int action, int mods) {
    if (action == GLFW_RELEASE) return;
    const KeyListener* listener = static_cast<const KeyListener*>(glfwGetWindowUserPointer(window));
    if (listener) listener->handler(listener->context, keyOf(key), (mods & GLFW_MOD_SHIFT) != 0);
}

}  // namespace

void reportWindowErrors() { glfwSetErrorCallback(printWindowError); }

bool desktopSize(int* width, int* height) {
    reportWindowErrors();
    if (glfwInit() != GLFW_TRUE) return false;
    bool found = false;
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (mode && mode->width > 0 && mode->height > 0) {
        *width = mode->width;
        *height = mode->height;
        found = true;
    }
    return found;
}

GLFWwindow* openFullScreenWindow(int width, int height, const char* title) {
    reportWindowErrors();
    if (glfwInit() != GLFW_TRUE) return nullptr;
    glfwSetTime(0.0);  // the frame timer starts with the window, whoever initialised GLFW first
    requestFramebuffer();
    // Full screen at the desktop's own video mode, refresh rate included, so the monitor's mode
    // is never switched (and never left switched should the program end early).
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* desktop = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (desktop) glfwWindowHint(GLFW_REFRESH_RATE, desktop->refreshRate);
    GLFWwindow* window = madeCurrent(glfwCreateWindow(width, height, title, monitor, nullptr));
    if (!window) return nullptr;
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
    // Key presses are latched until read: a tap of Escape whose press and release both fall
    // between two slow frames still ends the show at the next frame.
    glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
    glfwSetWindowTitle(window, title);
    return window;
}

GLFWwindow* openResizableWindow(int width, int height, const char* title) {
    reportWindowErrors();
    if (glfwInit() != GLFW_TRUE) return nullptr;
    requestFramebuffer();
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    return madeCurrent(glfwCreateWindow(width, height, title, nullptr, nullptr));
}

void presentWindow(GLFWwindow* window) {
    glfwSwapBuffers(window);
    glfwPollEvents();
}

bool escapePressed(GLFWwindow* window) { return glfwGetKey(window, GLFW_KEY_ESCAPE) == GLFW_PRESS; }

void closeWindows() { glfwTerminate(); }

double frameTimerSeconds() { return glfwGetTime(); }

void windowFramebufferSize(GLFWwindow* window, int* width, int* height) {
    glfwGetFramebufferSize(window, width, height);
}

void waitForWindowEvents(double seconds) { glfwWaitEventsTimeout(seconds); }

bool goFullScreen(GLFWwindow* window, WindowedPlace* kept) {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (!mode) return false;
    glfwGetWindowPos(window, &kept->x, &kept->y);
    glfwGetWindowSize(window, &kept->width, &kept->height);
    glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
    return true;
}

void goWindowed(GLFWwindow* window, const WindowedPlace& kept) {
    glfwSetWindowMonitor(window, nullptr, kept.x, kept.y, kept.width, kept.height, 0);
}

void handleWindowKeys(GLFWwindow* window, const KeyListener* listener) {
    glfwSetWindowUserPointer(window, const_cast<KeyListener*>(listener));
    glfwSetKeyCallback(window, onKey);
}
