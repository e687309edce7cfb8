// What the desktop's and the browser's windows share through GLFW: the framebuffer every window
// asks for and the keys tools act on. (reportWindowErrors, declared in desktop.h, lives here too.)
#pragma once

#include "platform/desktop.h"

// The 8/8/8/8 colour, 16-bit depth and no stencil every window of the program asks for.
void requestFramebuffer();
// The tools' name for a GLFW key code; Key::Other for every key they do not act on.
Key keyOfGlfwKey(int key);
