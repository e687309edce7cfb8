// The desktop size from GLFW's primary monitor. GLFW is shut down again afterwards, so the
// display's own initialisation starts the frame timer afresh.
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
    glfwTerminate();
    return found;
}
