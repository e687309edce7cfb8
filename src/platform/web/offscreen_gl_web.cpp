// The offscreen GL context in a browser: there is none (the page's canvas is the only context),
// so a display asked for one stays without a context and draws nothing. Built only for the
// browser, in the place of offscreen_gl.cpp.
#include "platform/offscreen_gl.h"

OffscreenGL* createOffscreenGL(int, int) { return nullptr; }

void destroyOffscreenGL(OffscreenGL*) {}
