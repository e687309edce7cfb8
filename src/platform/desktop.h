// The desktop's windows through the windowing library: the desktop size, a full-screen or a
// resizable window with its GL context, presenting frames, keys, the frame timer. Nothing else in
// the program calls the windowing library.
#pragma once

struct GLFWwindow;

// The primary monitor's current video mode. False, leaving the arguments alone, when there is no
// display to ask. Leaves the windowing library initialised: closing the windows shuts it down.
bool desktopSize(int* width, int* height);

// From now on, a failure of the windowing library (no X server, no GL visual, a window that
// cannot be made) is described on standard error, one line each: the program goes on without a
// window, and this line says why there is none.
void reportWindowErrors();

// A full-screen window of the size on the primary monitor, at the desktop's own video mode, with
// 8/8/8/8 colour, 16 depth and no stencil bits, its GL context current, swapping every vertical
// blank, the cursor hidden and keys latched until read; the frame timer starts at 0. Null (the
// library shut down, the reason on standard error) when it cannot be made.
GLFWwindow* openFullScreenWindow(int width, int height, const char* title);
// A resizable window of the size with the same framebuffer and context, for tools.
GLFWwindow* openResizableWindow(int width, int height, const char* title);
// Shows the frame drawn into the back buffer and takes in the window's events.
void presentWindow(GLFWwindow* window);
bool escapePressed(GLFWwindow* window);
// Closes every window and shuts the windowing library down.
void closeWindows();
// Seconds on the frame timer, which starts with the full-screen window.
double frameTimerSeconds();

// The size of the window's framebuffer in pixels.
void windowFramebufferSize(GLFWwindow* window, int* width, int* height);
// Waits for the windows' events, at most the seconds (0: only takes in those waiting).
void waitForWindowEvents(double seconds);
// Full screen on the primary monitor at its own mode, or back to the window's place and size as
// they were; false when there is no monitor to go to.
struct WindowedPlace {
    int x = 0, y = 0, width = 0, height = 0;
};
bool goFullScreen(GLFWwindow* window, WindowedPlace* kept);
void goWindowed(GLFWwindow* window, const WindowedPlace& kept);

// The keys tools act on; every other key is Other.
enum class Key { Other, Escape, Space, Left, Right, PageUp, PageDown, Home, Tab, L, H, F, F11 };
// Called with the context for every press and repeat of a key, with whether Shift was held.
struct KeyListener {
    void* context;
    void (*handler)(void* context, Key key, bool shift);
};
// From now on the window's keys go to the listener, which must outlive the window.
void handleWindowKeys(GLFWwindow* window, const KeyListener* listener);
