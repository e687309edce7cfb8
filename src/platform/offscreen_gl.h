// An OpenGL context without a window system: EGL on Mesa's surfaceless platform, drawing into a
// framebuffer object of a fixed size. Used by the capture tool and the pixel tests; its pixels
// are the same as a window's.
#pragma once

struct OffscreenGL;

// Makes the context current with its framebuffer bound. Null when EGL or the framebuffer cannot
// be set up.
OffscreenGL* createOffscreenGL(int width, int height);
void destroyOffscreenGL(OffscreenGL* gl);
