// The image decoder the texture store uses, compiled into the browser build: the desktop links
// the system's stb library, which a browser cannot load. Built only for the browser.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
