// The desktop size from GLFW's primary monitor. GLFW stays initialised for the display, which
// opens next: shutting it down here would close the connection to the X server, and a server
// with no other client resets itself when its last client leaves, refusing the display's own
// connection a moment later while it does (the show would then play without a window).
#include "platform/desktop.h"

#include <GLFW/glfw3.h>

#include <cstdio>

namespace {

void printWindowError(int code, const char* description) {
    std::fprintf(stderr, "window system error %#x: %s\n", code, description ? description : "");
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
