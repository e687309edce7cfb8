// The size of the desktop the show opens full-screen on.
#pragma once

// The primary monitor's current video mode. False, leaving the arguments alone, when there is no
// display to ask. Leaves the windowing library initialised: the display's close shuts it down.
bool desktopSize(int* width, int* height);

// From now on, a failure of the windowing library (no X server, no GL visual, a window that
// cannot be made) is described on standard error, one line each: the program goes on without a
// window, and this line says why there is none.
void reportWindowErrors();
