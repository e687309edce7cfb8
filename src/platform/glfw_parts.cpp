// The GLFW pieces both platforms' windows use.
#include "platform/glfw_parts.h"

#include <GLFW/glfw3.h>

#include <cstdio>

namespace {

void printWindowError(int code, const char* description) {
    std::fprintf(stderr, "window system error %#x: %s\n", code, description ? description : "");
}

}  // namespace

void reportWindowErrors() { glfwSetErrorCallback(printWindowError); }

void requestFramebuffer() {
    glfwWindowHint(GLFW_RED_BITS, 8);
    glfwWindowHint(GLFW_GREEN_BITS, 8);
    glfwWindowHint(GLFW_BLUE_BITS, 8);
    glfwWindowHint(GLFW_ALPHA_BITS, 8);
    glfwWindowHint(GLFW_DEPTH_BITS, 16);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
}

Key keyOfGlfwKey(int key) {
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
