// The demo from start to end: start-up in its fixed order, the main loop, shutdown. The three are
// separate calls so that a platform whose frames are driven from outside (a browser's animation
// frames) runs the same start-up, the same loop one step per frame, and the same shutdown.
#pragma once

#include "platform/sound.h"
#include "runtime/main_loop.h"
#include "runtime/show.h"

class DemoWindow;

struct DemoMusic {
    FMOD::System* system = nullptr;
    FMOD::Sound* song = nullptr;
    FMOD::Channel* channel = nullptr;
};

// Where the song starts. The demo starts at row 0 and plays; a still frame holds the song paused
// at its row and draws it at the frame time the capture tool gives that row.
struct DemoStart {
    double row = 0.0;
    bool still = false;
};

struct Demo {
    DemoWindow* display = nullptr;
    DemoMusic music;
    Show show = {};
    bool still = false;
    MainLoopState loop;
};

// Start-up up to the first iteration of the loop: the display and its black frame, the sound
// system and the song, the show, the song started. False after a failure of the sound layer (its
// message printed); the program then ends with -1 at once.
bool startDemo(Demo* demo, const DemoStart& start);
// One iteration of the main loop; false once it has ended (Escape, or the frame at the row limit).
bool stepDemo(Demo* demo);
// Shutdown after the loop; returns the program's exit code: 0, or -1 after a failure of the sound
// layer.
int finishDemo(Demo* demo);

// Returns the program's exit code: 0 after a normal end, -1 after a failure of the sound layer.
int runDemo();
