// stb_image's decoder compiled into the image fuzz target, so that the sanitizers and the
// coverage guidance reach inside it (the system's libstb is built without them). Same header,
// same code as the library the program links.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
