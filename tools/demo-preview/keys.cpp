// What the preview's keys do.
#include "preview.h"

#include "base/show_facts.h"
#include "platform/playback_clock.h"

#include <GLFW/glfw3.h>

namespace {

constexpr int barsPerPage = 8;

// F and F11: full screen on the window's monitor at its own mode, and back to the window as it was.
void toggleFullScreen(Preview* preview) {
    GLFWwindow* window = preview->display.glfwWindow();
    if (preview->windowed) {
        GLFWmonitor* monitor = glfwGetPrimaryMonitor();
        const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
        if (!mode) return;
        glfwGetWindowPos(window, &preview->windowedX, &preview->windowedY);
        glfwGetWindowSize(window, &preview->windowedWidth, &preview->windowedHeight);
        glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
    } else {
        glfwSetWindowMonitor(window, nullptr, preview->windowedX, preview->windowedY, preview->windowedWidth,
                             preview->windowedHeight, 0);
    }
    preview->windowed = !preview->windowed;
}

// The row a moving key takes the play head to; negative when the key does not move it.
double movedRow(const Preview& preview, int key, int mods) {
    const MusicalGrid& grid = preview.grid;
    double row = preview.transport.row;
    bool shift = (mods & GLFW_MOD_SHIFT) != 0;
    switch (key) {
    case GLFW_KEY_LEFT: return shift ? moveByBars(grid, row, -1) : moveByBeats(grid, row, -1);
    case GLFW_KEY_RIGHT: return shift ? moveByBars(grid, row, 1) : moveByBeats(grid, row, 1);
    case GLFW_KEY_PAGE_UP: return moveByBars(grid, row, -barsPerPage);
    case GLFW_KEY_PAGE_DOWN: return moveByBars(grid, row, barsPerPage);
    case GLFW_KEY_HOME: return 0.0;
    default: return -1.0;
    }
}

}  // namespace

void handlePreviewKey(Preview* preview, int key, int mods) {
    double row = movedRow(*preview, key, mods);
    if (row >= 0.0) {
        preview->keyTime = monotonicSeconds();
        seekPreview(preview, row);
        return;
    }
    switch (key) {
    case GLFW_KEY_ESCAPE: preview->quit = true; break;
    case GLFW_KEY_SPACE: setPreviewPaused(preview, !preview->transport.paused); break;
    case GLFW_KEY_L: toggleLoop(preview->grid, &preview->transport); break;
    case GLFW_KEY_H: preview->hudShown = !preview->hudShown; break;
    case GLFW_KEY_TAB: preview->tracksShown = !preview->tracksShown; break;
    case GLFW_KEY_F:
    case GLFW_KEY_F11: toggleFullScreen(preview); break;
    default: return;
    }
    preview->redraw = true;
}
