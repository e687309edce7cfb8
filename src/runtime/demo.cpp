// Start-up and shutdown of the demo, in their fixed order, around the main loop.
//
// A failure of the sound layer prints its message and ends the program with -1 at once, without
// releasing what was acquired so far: the process is about to end and takes it all along.
#include "runtime/demo.h"

#include "base/show_facts.h"
#include "platform/desktop.h"
#include "render/demo_window.h"
#include "runtime/frame.h"
#include "runtime/main_loop.h"
#include "runtime/music.h"
#include "runtime/show.h"
#include "scenes/tunnel.h"
#include "sync/sync.h"

namespace {

// The display, at the desktop's size and full-screen. Whether it opened is not checked: without a
// display the song still plays and the loop still runs.
DemoWindow* openDisplay() {
    DemoWindow* display = new DemoWindow;
    int width = designSpaceWidth, height = designSpaceHeight;
    desktopSize(&width, &height);
    display->open(width, height);
    return display;
}

// The sound system, version-checked and started, and the song's stream.
bool openMusic(DemoMusic* music) {
    if (!soundCallSucceeded(FMOD_System_Create(&music->system))) return false;
    unsigned int version = 0;
    if (!soundCallSucceeded(music->system->getVersion(&version))) return false;
    if (!soundVersionAccepted(version)) return false;
    if (!soundCallSucceeded(music->system->init(1, FMOD_INIT_NORMAL, nullptr))) return false;
    FMOD_MODE mode = FMOD_2D | FMOD_SOFTWARE | FMOD_CREATESTREAM | FMOD_ACCURATETIME;
    return soundCallSucceeded(music->system->createStream(songSettings.fileName, mode, nullptr, &music->song));
}

// Each release is checked before the next.
bool releaseMusic(DemoMusic* music) {
    return soundCallSucceeded(music->song->release()) && soundCallSucceeded(music->system->close()) &&
           soundCallSucceeded(music->system->release());
}

bool loopIsRunning(void* context) { return static_cast<Demo*>(context)->display->isRunning(); }

void loopUpdateMusic(void* context) { static_cast<Demo*>(context)->music.system->update(); }

double loopReadRow(void* context) { return readMusicClock(static_cast<Demo*>(context)->music.channel); }

void loopDrawFrame(void* context, double row) {
    Demo* demo = static_cast<Demo*>(context);
    FrameState frame = {row, demo->still ? row / rowsPerSecond : frameTimerSeconds()};
    demo->display->followWindowSize();
    renderFrame(demo->display, frame, &demo->show);
    demo->display->swapBuffers();
}

// The song's channel, moved to the starting row and held there for a still frame.
bool startMusic(DemoMusic* music, const DemoStart& start) {
    bool moved = start.row > 0.0 || start.still;
    if (!soundCallSucceeded(music->system->playSound(FMOD_CHANNEL_FREE, music->song, moved, &music->channel))) {
        return false;
    }
    if (!moved) return true;
    return soundCallSucceeded(music->channel->setPosition(pcmBytesFromRow(start.row), FMOD_TIMEUNIT_PCMBYTES)) &&
           soundCallSucceeded(music->channel->setPaused(start.still));
}

// A show that starts past its beginning starts as a renderer that may start at any frame (the
// capture tool): with the depth test off, as the show leaves it from its first sprite on, and the
// tunnel's phases that the frames before its row leave, on the grid of 60 frames a second that
// the capture tool also uses by default. A still frame is then the capture's frame of that row.
void startPastTheBeginning(Demo* demo, double row) {
    Show* show = &demo->show;
    demo->display->disableDepthTest();
    TunnelTracks tunnel = {show->tracks.tunnelMove, show->tracks.tunnelTexture, show->tracks.tunnelVariation};
    TunnelPhaseGrid grid;
    bringTunnelPhasesTo(tunnel, show->catalogue.tunnelTextures, show->images, row, &grid, &show->tunnel);
}

MainLoopHooks loopHooks(Demo* demo) {
    return MainLoopHooks{demo, loopIsRunning, loopUpdateMusic, loopReadRow, loopDrawFrame};
}

}  // namespace

bool startDemo(Demo* demo, const DemoStart& start) {
    demo->still = start.still;
    demo->display = openDisplay();
    demo->display->clear(clearColour);  // a black screen while the rest loads
    demo->display->swapBuffers();
    if (!openMusic(&demo->music)) return false;
    if (!openShow(demo->display, &demo->show)) return false;
    if (start.row > 0.0) startPastTheBeginning(demo, start.row);
    return startMusic(&demo->music, start);
}

bool stepDemo(Demo* demo) { return stepMainLoop(loopHooks(demo), &demo->loop); }

int finishDemo(Demo* demo) {
    closeShow(&demo->show);
    if (!releaseMusic(&demo->music)) return -1;
    demo->display->close();
    delete demo->display;
    demo->display = nullptr;
    return 0;
}

int runDemo() {
    Demo demo;
    if (!startDemo(&demo, DemoStart{})) return -1;
    while (stepDemo(&demo)) {}
    return finishDemo(&demo);
}
