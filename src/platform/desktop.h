// The size of the desktop the show opens full-screen on.
#pragma once

// The primary monitor's current video mode. False, leaving the arguments alone, when there is no
// display to ask.
bool desktopSize(int* width, int* height);
