// The main loop: keep the music going, turn its position into a row, and draw a frame whenever
// the row has moved, until Escape or the row limit.
//
// The loop reaches the display, the music and the frame through plain function pointers, so the
// same loop runs the show and, in the tests, a scripted clock. It is made of steps, one iteration
// each, so that a caller that may not block (a browser's animation frames) runs the very same
// loop one step at a time.
#pragma once

#include "base/show_facts.h"  // rowLimit

struct MainLoopHooks {
    void* context;
    bool (*isRunning)(void* context);              // false once Escape is seen
    void (*updateMusic)(void* context);            // once per iteration
    double (*readRow)(void* context);              // the music clock
    void (*drawFrame)(void* context, double row);  // one whole frame, presented
};

// Where a loop stands between its steps.
struct MainLoopState {
    double row = 0.0;  // the row of the last frame drawn (0 before the first)
    long framesDrawn = 0;
    bool started = false;  // the check for Escape before the first iteration was made
    bool ended = false;
};

// One iteration of the loop (the first step also checks for Escape before it); false once the
// loop has ended, and from then on a step does nothing.
bool stepMainLoop(const MainLoopHooks& hooks, MainLoopState* state);

// Runs the loop; returns the number of frames drawn.
long runMainLoop(const MainLoopHooks& hooks);
