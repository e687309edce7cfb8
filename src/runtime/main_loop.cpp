// The main loop. It never sleeps: the only wait is the display's buffer swap inside a drawn
// frame, and events (the Escape key) are pumped only by that swap.
#include "runtime/main_loop.h"

bool stepMainLoop(const MainLoopHooks& hooks, MainLoopState* state) {
    if (state->ended) return false;
    if (!state->started) {
        state->started = true;
        if (!hooks.isRunning(hooks.context)) state->ended = true;
    }
    // "Not below the limit" also ends the loop on a NaN row.
    if (state->ended || !(state->row < rowLimit)) {
        state->ended = true;
        return false;
    }
    hooks.updateMusic(hooks.context);
    double previousRow = state->row;
    state->row = hooks.readRow(hooks.context);
    if (state->row != previousRow) {
        hooks.drawFrame(hooks.context, state->row);
        ++state->framesDrawn;
    }
    if (!hooks.isRunning(hooks.context) || !(state->row < rowLimit)) state->ended = true;
    return !state->ended;
}

long runMainLoop(const MainLoopHooks& hooks) {
    MainLoopState state;
    while (stepMainLoop(hooks, &state)) {}
    return state.framesDrawn;
}
