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
#include "sync/sync.h"

namespace {

struct Music {
    FMOD::System* system = nullptr;
    FMOD::Sound* song = nullptr;
    FMOD::Channel* channel = nullptr;
};

struct Demo {
    DemoWindow* display = nullptr;
    Music music;
    Show show = {};
};

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
bool openMusic(Music* music) {
    if (!soundCallSucceeded(FMOD_System_Create(&music->system))) return false;
    unsigned int version = 0;
    if (!soundCallSucceeded(music->system->getVersion(&version))) return false;
    if (!soundVersionAccepted(version)) return false;
    if (!soundCallSucceeded(music->system->init(1, FMOD_INIT_NORMAL, nullptr))) return false;
    FMOD_MODE mode = FMOD_2D | FMOD_SOFTWARE | FMOD_CREATESTREAM | FMOD_ACCURATETIME;
    return soundCallSucceeded(music->system->createStream(songSettings.fileName, mode, nullptr, &music->song));
}

// Each release is checked before the next.
bool releaseMusic(Music* music) {
    return soundCallSucceeded(music->song->release()) && soundCallSucceeded(music->system->close()) &&
           soundCallSucceeded(music->system->release());
}

bool loopIsRunning(void* context) { return static_cast<Demo*>(context)->display->isRunning(); }

void loopUpdateMusic(void* context) { static_cast<Demo*>(context)->music.system->update(); }

double loopReadRow(void* context) { return readMusicClock(static_cast<Demo*>(context)->music.channel); }

void loopDrawFrame(void* context, double row) {
    Demo* demo = static_cast<Demo*>(context);
    FrameState frame = {row, frameTimerSeconds()};
    renderFrame(demo->display, frame, &demo->show);
    demo->display->swapBuffers();
}

}  // namespace

int runDemo() {
    Demo demo;
    demo.display = openDisplay();
    demo.display->clear(clearColour);  // a black screen while the rest loads
    demo.display->swapBuffers();
    if (!openMusic(&demo.music)) return -1;
    if (!openShow(demo.display, &demo.show)) return -1;
    if (!soundCallSucceeded(
            demo.music.system->playSound(FMOD_CHANNEL_FREE, demo.music.song, false, &demo.music.channel))) {
        return -1;
    }

    MainLoopHooks hooks = {&demo, loopIsRunning, loopUpdateMusic, loopReadRow, loopDrawFrame};
    runMainLoop(hooks);

    closeShow(&demo.show);
    if (!releaseMusic(&demo.music)) return -1;
    demo.display->close();
    delete demo.display;
    return 0;
}
