// The demo from start to end: start-up in its fixed order, the main loop, shutdown.
#pragma once

// Returns the program's exit code: 0 after a normal end, -1 after a failure of the sound layer.
int runDemo();
