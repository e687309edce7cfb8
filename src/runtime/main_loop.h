// The main loop: keep the music going, turn its position into a row, and draw a frame whenever
// the row has moved, until Escape or the row limit.
//
// The loop reaches the display, the music and the frame through plain function pointers, so the
// same loop runs the show and, in the tests, a scripted clock.
#pragma once

#include "base/show_facts.h"  // rowLimit

struct MainLoopHooks {
    void* context;
    bool (*isRunning)(void* context);              // false once Escape is seen
    void (*updateMusic)(void* context);            // once per iteration
    double (*readRow)(void* context);              // the music clock
    void (*drawFrame)(void* context, double row);  // one whole frame, presented
};

// Runs the loop; returns the number of frames drawn.
long runMainLoop(const MainLoopHooks& hooks);
