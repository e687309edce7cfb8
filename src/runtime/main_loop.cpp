// The main loop. It never sleeps: the only wait is the display's buffer swap inside a drawn
// frame, and events (the Escape key) are pumped only by that swap.
#include "runtime/main_loop.h"

long runMainLoop(const MainLoopHooks& hooks) {
    long framesDrawn = 0;
    double row = 0.0;
    if (!hooks.isRunning(hooks.context)) return framesDrawn;
    // "Not below the limit" also ends the loop on a NaN row.
    while (row < rowLimit) {
        hooks.updateMusic(hooks.context);
        double previousRow = row;
        row = hooks.readRow(hooks.context);
        if (row != previousRow) {
            hooks.drawFrame(hooks.context, row);
            ++framesDrawn;
        }
        if (!hooks.isRunning(hooks.context)) break;
    }
    return framesDrawn;
}
