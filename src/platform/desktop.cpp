// The desktop's windows through GLFW. GLFW stays initialised from the desktop size query until
// the windows are closed: shutting it down in between would close the connection to the X server,
// and a server with no other client resets itself when its last client leaves, refusing the
// window's own connection a moment later while it does (the show would then play without a
// window).
#include "platform/desktop.h"

#include "platform/glfw_parts.h"

#include <GLFW/glfw3.h>

namespace {

GLFWwindow* madeCurrent(GLFWwindow* window) {
    if (!window) {
        glfwTerminate();
        return nullptr;
    }
    glfwMakeContextCurrent(window);
    glfwSwapInterval(1);
    return window;
}

void onKey(GLFWwindow* window, int key, int, int action, int mods) {
    if (action == GLFW_RELEASE) return;
    const KeyListener* listener = static_cast<const KeyListener*>(glfwGetWindowUserPointer(window));
    if (listener) listener->handler(listener->context, keyOfGlfwKey(key), (mods & GLFW_MOD_SHIFT) != 0);
}

}  // namespace

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
