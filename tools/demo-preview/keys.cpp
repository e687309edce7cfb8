// What the preview's keys do.
#include "preview.h"

#include "base/show_facts.h"
#include "platform/desktop.h"
#include "platform/playback_clock.h"

namespace {

constexpr int barsPerPage = 8;

// F and F11: full screen on the window's monitor at its own mode, and back to the window as it was.
void toggleFullScreen(Preview* preview) {
    GLFWwindow* window = preview->display.desktopWindow();
    if (preview->windowed) {
        if (!goFullScreen(window, &preview->windowedPlace)) return;
    } else {
        goWindowed(window, preview->windowedPlace);
    }
    preview->windowed = !preview->windowed;
}

// The row a moving key takes the play head to; negative when the key does not move it.
double movedRow(const Preview& preview, Key key, bool shift) {
    const MusicalGrid& grid = preview.grid;
    double row = preview.transport.row;
    switch (key) {
    case Key::Left: return shift ? moveByBars(grid, row, -1) : moveByBeats(grid, row, -1);
    case Key::Right: return shift ? moveByBars(grid, row, 1) : moveByBeats(grid, row, 1);
    case Key::PageUp: return moveByBars(grid, row, -barsPerPage);
    case Key::PageDown: return moveByBars(grid, row, barsPerPage);
    case Key::Home: return 0.0;
    default: return -1.0;
    }
}

}  // namespace

void handlePreviewKey(void* context, Key key, bool shift) {
    Preview* preview = static_cast<Preview*>(context);
    double row = movedRow(*preview, key, shift);
    if (row >= 0.0) {
        preview->keyTime = monotonicSeconds();
        seekPreview(preview, row);
        return;
    }
    switch (key) {
    case Key::Escape: preview->quit = true; break;
    case Key::Space: setPreviewPaused(preview, !preview->transport.paused); break;
    case Key::L: toggleLoop(preview->grid, &preview->transport); break;
    case Key::H: preview->hudShown = !preview->hudShown; break;
    case Key::Tab: preview->tracksShown = !preview->tracksShown; break;
    case Key::F:
    case Key::F11: toggleFullScreen(preview); break;
    default: return;
    }
    preview->redraw = true;
}
