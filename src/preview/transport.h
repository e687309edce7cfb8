// The preview's transport: where the play head stands, whether it is paused or looping, and the
// moves its keys make on the choreography's musical grid. Plain arithmetic on rows, so that what a
// key does can be worked out (and tested) without a window or a sound device.
#pragma once

#include "sync/musical_grid.h"

struct Transport {
    double row = 0.0;
    bool paused = false;
    bool looping = false;
    double loopStart = 0.0;  // the loop plays rows loopStart .. loopEnd, then starts over
    double loopEnd = 0.0;
};

// A move of the play head by whole beats (negative: back): to the beat boundary `beats` away,
// counting from the boundary at or before the row when moving back and the one at or after it
// when moving on, so a row between two beats lands on a beat. Kept within 0 .. rowLimit.
double moveByBeats(const MusicalGrid& grid, double row, int beats);
// The same by whole bars.
double moveByBars(const MusicalGrid& grid, double row, int bars);

// Starts looping the four bars that hold the row (counted from bar 1 of the grid), or stops
// looping when the transport loops already.
void toggleLoop(const MusicalGrid& grid, Transport* transport);

// Where the play head goes when the song has reached `row`: back to the loop's start by the
// whole loops it has overrun when it loops, else the row itself.
double wrapIntoLoop(const Transport& transport, double row);
