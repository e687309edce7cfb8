// What every scene step of one drawn frame is given.
#pragma once

struct FrameState {
    double row;  // the music clock's row; every track of the frame is evaluated at it
    double t;    // seconds of the display's frame timer, for sways and jitters
};
