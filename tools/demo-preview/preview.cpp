// The preview session and its loop. The picture at a row is drawn exactly as demo-capture draws
// it: the frame time is the row's song time and the tunnel's phases are those the frames of a
// 60 frames a second capture before the row leave, so a row looks the same however it is reached.
#include "preview.h"

#include "base/show_facts.h"
#include "platform/playback_clock.h"
#include "preview/hud.h"
#include "runtime/music.h"
#include "runtime/show.h"
#include "sync/sync.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

constexpr double watchInterval = 0.02;  // seconds between looks at the watched files
constexpr double idleWait = 0.005;      // seconds to wait for events when nothing moved

bool openSong(Preview* preview) {
    FMOD_MODE mode = FMOD_2D | FMOD_SOFTWARE | FMOD_CREATESTREAM | FMOD_ACCURATETIME;
    return soundCallSucceeded(FMOD_System_Create(&preview->sound)) &&
           soundCallSucceeded(preview->sound->init(1, FMOD_INIT_NORMAL, nullptr)) &&
           soundCallSucceeded(preview->sound->createStream(songSettings.fileName, mode, nullptr, &preview->song)) &&
           soundCallSucceeded(preview->sound->playSound(FMOD_CHANNEL_FREE, preview->song, true, &preview->channel));
}

void drawPreviewFrame(Preview* preview) {
    double row = preview->transport.row;
    const Show& show = preview->show;
    TunnelTracks tunnel = {show.tracks.tunnelMove, show.tracks.tunnelTexture, show.tracks.tunnelVariation};
    bringTunnelPhasesTo(tunnel, show.catalogue.tunnelTextures, show.images, row, &preview->tunnelGrid,
                        &preview->show.tunnel);
    renderFrame(&preview->display, FrameState{row, row / rowsPerSecond}, &preview->show);
    std::vector<std::string> problems = watchProblems(preview->watch);
    std::vector<std::string> lines;
    if (preview->hudShown || !problems.empty()) {
        lines.push_back(hudStatusLine(preview->transport, preview->grid, preview->framesPerSecond));
    }
    if (preview->hudShown && preview->tracksShown) {
        for (const std::string& line : hudTrackLines(preview->show.tracks, &preview->show.catalogue, row)) {
            lines.push_back(line);
        }
    }
    lines.insert(lines.end(), problems.begin(), problems.end());
    drawHudLines(&preview->display, lines, !problems.empty());
    preview->display.swapBuffers();
}

// Where the song says the play head is, looped back when it has run past the loop's end.
void followSong(Preview* preview) {
    preview->sound->update();
    double row = readMusicClock(preview->channel);
    if (row >= rowLimit && !preview->transport.looping) {  // the show's end: stop on its last row
        seekPreview(preview, rowLimit);
        setPreviewPaused(preview, true);
        return;
    }
    double wrapped = wrapIntoLoop(preview->transport, row);
    if (wrapped != row) {
        seekPreview(preview, wrapped);
        return;
    }
    if (row != preview->transport.row) preview->redraw = true;
    preview->transport.row = row;
}

// How long the key or the save that asked for the frame just drawn took to reach the screen.
void traceFrame(Preview* preview) {
    if (preview->keyTime >= 0.0) {
        fprintf(stderr, "trace: key to frame %.1f ms %s\n", (monotonicSeconds() - preview->keyTime) * 1000.0,
                preview->transport.paused ? "paused" : "playing");
    }
    if (preview->savedAt >= 0) {
        timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        double nanoseconds = double(now.tv_sec) * 1e9 + double(now.tv_nsec) - double(preview->savedAt);
        fprintf(stderr, "trace: save to frame %.1f ms %s\n", nanoseconds / 1e6,
                preview->transport.paused ? "paused" : "playing");
    }
    preview->keyTime = -1.0;
    preview->savedAt = -1;
}

void followWindowSize(Preview* preview) {
    if (preview->display.followWindowSize()) preview->redraw = true;
}

}  // namespace

std::string openPreview(Preview* preview, int width, int height, const std::string& source) {
    if (!preview->display.openWindow(width, height, "Demo preview")) return "no window could be opened";
    preview->keys = KeyListener{preview, handlePreviewKey};
    handleWindowKeys(preview->display.desktopWindow(), &preview->keys);
    if (!openSong(preview)) return "the song could not be played";
    if (soundOutputKind(preview->sound) == soundOutputSilent) {
        fprintf(stderr,
                "demo-preview: no sound output could be opened (no sound card?): the show plays silent, "
                "on the clock\n");
    }
    if (!openShow(&preview->display, &preview->show)) return "out of memory";
    preview->display.disableDepthTest();
    preview->watching = !source.empty();
    preview->watch = watchShow(source, preview->show.device, &preview->show.catalogue);
    if (preview->watching && !compileSourceIntoTracks(source, preview->show.device, &preview->watch.sourceErrors)) {
        for (const std::string& error : preview->watch.sourceErrors) fprintf(stderr, "%s\n", error.c_str());
    }
    return "";
}

void closePreview(Preview* preview) {
    closeShow(&preview->show);
    if (preview->sound) preview->sound->release();
    preview->display.close();
}

void seekPreview(Preview* preview, double row) {
    preview->transport.row = row;
    preview->channel->setPosition(pcmBytesFromRow(row), FMOD_TIMEUNIT_PCMBYTES);
    preview->redraw = true;
}

void setPreviewPaused(Preview* preview, bool paused) {
    if (paused == preview->transport.paused) return;
    preview->transport.paused = paused;
    preview->channel->setPaused(paused);
    // Paused, the picture shows the very row the song holds, which it resumes from.
    if (paused) preview->transport.row = readMusicClock(preview->channel);
    preview->redraw = true;
}

void runPreview(Preview* preview) {
    double lastWatch = 0.0, lastFrame = monotonicSeconds();
    while (!preview->quit) {
        waitForWindowEvents(preview->redraw || !preview->transport.paused ? 0.0 : idleWait);
        followWindowSize(preview);
        double now = monotonicSeconds();
        if (preview->watching && now - lastWatch >= watchInterval) {
            lastWatch = now;
            WatchOutcome outcome =
                takeInChanges(&preview->watch, preview->show.device, preview->show.textures, &preview->show.shader);
            if (outcome.picturesReloaded) noteImageSizes(&preview->show);
            preview->redraw |= outcome.anyChange;  // new pictures, or problems to show or clear
            if (outcome.tracksReloaded) preview->savedAt = preview->watch.source.modified;
        }
        if (!preview->transport.paused) followSong(preview);
        if (!preview->redraw) continue;
        preview->redraw = false;
        drawPreviewFrame(preview);
        if (preview->trace) traceFrame(preview);
        now = monotonicSeconds();
        preview->framesPerSecond = 0.9 * preview->framesPerSecond + 0.1 / std::fmax(now - lastFrame, 1e-6);
        lastFrame = now;
    }
}
