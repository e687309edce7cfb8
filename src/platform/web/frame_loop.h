// The page's frame loop in a browser: a program there may not block, so its loop runs one step
// per animation frame, called by the browser.
#pragma once

// Calls step once per animation frame until it returns false, then finish once, after which the
// page calls nothing more. Returns at once; the context must live as long as the page.
void runEachAnimationFrame(bool (*step)(void* context), void (*finish)(void* context), void* context);
