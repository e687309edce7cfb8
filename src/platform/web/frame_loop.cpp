// The page's frame loop in a browser, on the browser's animation frames. Built only for the
// browser.
#include "platform/web/frame_loop.h"

#include <emscripten.h>

namespace {

struct FrameLoop {
    bool (*step)(void* context) = nullptr;
    void (*finish)(void* context) = nullptr;
    void* context = nullptr;
};

void onAnimationFrame(void* argument) {
    FrameLoop* loop = static_cast<FrameLoop*>(argument);
    if (loop->step(loop->context)) return;
    emscripten_cancel_main_loop();
    loop->finish(loop->context);
}

}  // namespace

void runEachAnimationFrame(bool (*step)(void* context), void (*finish)(void* context), void* context) {
    static FrameLoop loop;
    loop = FrameLoop{step, finish, context};
    // 0 frames a second: the browser's own pace (requestAnimationFrame); do not simulate an
    // endless loop, so the caller's start-up returns to the page.
    emscripten_set_main_loop_arg(onAnimationFrame, &loop, 0, 0);
}
