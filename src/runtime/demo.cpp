// Start-up and shutdown of the demo, in their fixed order, around the main loop.
//
// A failure of the sound layer prints its message and ends the program with -1 at once, without
// releasing what was acquired so far: the process is about to end and takes it all along.
#include "runtime/demo.h"

#include "base/show_facts.h"
#include "platform/desktop.h"
#include "render/demo_window.h"
#include "render/texture_store.h"
#include "runtime/frame.h"
#include "runtime/main_loop.h"
#include "runtime/music.h"
#include "runtime/show_loader.h"
#include "sync/sync.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace {

struct Music {
    FMOD::System* system = nullptr;
    FMOD::Sound* song = nullptr;
    FMOD::Channel* channel = nullptr;
};

struct Demo {
    DemoWindow* display = nullptr;
    TextureStore* textures = nullptr;
    Music music;
    SyncDevice* syncDevice = nullptr;
    Show show = {};
};

// Start-up steps 1 and 2: the display, scaled to the desktop and opened full-screen. Whether it
// opened is not checked: without a display the song still plays and the loop still runs.
DemoWindow* openDisplay() {
    DemoWindow* display = new DemoWindow;
    currentDisplay = display;
    int width = designSpaceWidth, height = designSpaceHeight;
    desktopSize(&width, &height);
    display->scaleX = float(width) / float(designSpaceWidth);
    display->scaleY = float(height) / float(designSpaceHeight);
    display->open(width, height);
    return display;
}

// Start-up steps 5 to 8.
bool openMusic(Music* music) {
    if (!soundCallSucceeded(FMOD_System_Create(&music->system))) return false;
    unsigned int version = 0;
    if (!soundCallSucceeded(music->system->getVersion(&version))) return false;
    if (!soundVersionAccepted(version)) return false;
    if (!soundCallSucceeded(music->system->init(1, FMOD_INIT_NORMAL, nullptr))) return false;
    FMOD_MODE mode = FMOD_2D | FMOD_SOFTWARE | FMOD_CREATESTREAM | FMOD_ACCURATETIME;
    return soundCallSucceeded(music->system->createStream(songSettings.fileName, mode, nullptr, &music->song));
}

// Shutdown step 2; each release is checked before the next.
bool releaseMusic(Music* music) {
    return soundCallSucceeded(music->song->release()) && soundCallSucceeded(music->system->close()) &&
           soundCallSucceeded(music->system->release());
}

bool loopIsRunning(void* context) { return static_cast<Demo*>(context)->display->isRunning(); }

void loopUpdateMusic(void* context) { static_cast<Demo*>(context)->music.system->update(); }

double loopReadRow(void* context) { return readMusicClock(static_cast<Demo*>(context)->music.channel); }

void loopDrawFrame(void* context, double row) {
    Demo* demo = static_cast<Demo*>(context);
    FrameState frame = {row, glfwGetTime()};
    renderFrame(demo->display, frame, &demo->show);
    demo->display->swapBuffers();
}

}  // namespace

int runDemo() {
    Demo demo;
    demo.display = openDisplay();
    demo.textures = new TextureStore;
    currentTextures = demo.textures;
    demo.display->clear(clearColour);  // a black screen while the rest loads
    demo.display->swapBuffers();
    if (!openMusic(&demo.music)) return -1;
    demo.syncDevice = createSyncDevice();
    if (!demo.syncDevice) return -1;
    loadShow(demo.syncDevice, demo.display, demo.textures, &demo.show);  // start-up steps 10 to 12
    if (!soundCallSucceeded(
            demo.music.system->playSound(FMOD_CHANNEL_FREE, demo.music.song, false, &demo.music.channel))) {
        return -1;
    }
    if (demo.display->hasContext()) glEnable(GL_BLEND);

    MainLoopHooks hooks = {&demo, loopIsRunning, loopUpdateMusic, loopReadRow, loopDrawFrame};
    runMainLoop(hooks);

    destroySyncDevice(demo.syncDevice);
    if (!releaseMusic(&demo.music)) return -1;
    delete demo.textures;
    currentTextures = nullptr;
    demo.display->close();
    delete demo.display;
    currentDisplay = nullptr;
    return 0;
}
