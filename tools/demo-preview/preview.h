// The preview session: the window, the show loaded as the demo loads it, the song on a channel
// the transport moves, and the watch on the show's files.
#pragma once

#include "platform/desktop.h"
#include "preview/show_watch.h"
#include "preview/transport.h"
#include "render/demo_window.h"
#include "runtime/frame.h"
#include "platform/sound.h"

#include <cstdint>
#include <string>

struct Preview {
    DemoWindow display;
    Show show = {};
    FMOD::System* sound = nullptr;
    FMOD::Sound* song = nullptr;
    FMOD::Channel* channel = nullptr;
    MusicalGrid grid;
    Transport transport;
    bool watching = false;
    ShowWatch watch;
    TunnelPhaseGrid tunnelGrid;  // a 60 frames a second grid, and the frames its phases have taken in
    bool hudShown = false;
    bool tracksShown = false;
    bool redraw = true;  // draw even if the row has not moved
    bool quit = false;
    double framesPerSecond = 0.0;
    bool windowed = true;         // false while full screen
    bool trace = false;           // print how long keys and saves take to reach the screen
    double keyTime = -1.0;        // monotonic seconds of a key that moved the picture, until drawn
    int64_t savedAt = -1;         // the saved source's modification time (ns), until drawn
    WindowedPlace windowedPlace;  // where the window was before it went full screen
    KeyListener keys = {nullptr, nullptr};
};

// Acts on a key of the preview's window (context: the Preview).
void handlePreviewKey(void* context, Key key, bool shift);

// Opens the window and the song and loads the show from the working directory. Returns an empty
// string, or what failed.
std::string openPreview(Preview* preview, int width, int height, const std::string& source);
void closePreview(Preview* preview);

// Runs until Escape: keys move the transport, the song follows it, frames follow the song.
void runPreview(Preview* preview);

// Moves the play head (and the song) to the row.
void seekPreview(Preview* preview, double row);
// Pauses or resumes the song and the picture at the same row.
void setPreviewPaused(Preview* preview, bool paused);
