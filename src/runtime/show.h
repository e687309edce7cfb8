// Loading the show from the working directory, as start-up does: the 20 tracks from the sync
// device, then, in the display's GL context, the shader program and the 145 images in catalogue
// order. The demo and the capture tool both load through here, so both draw with the same show.
#pragma once

#include "runtime/frame.h"

class DemoWindow;
struct SyncDevice;
struct TextureStore;

// Fills the show's tracks, shader and catalogue, leaving no program current. Without a GL
// context on the display there is nothing to draw with: the shader stays 0 and every catalogue
// entry -1.
void loadShow(SyncDevice* device, const DemoWindow* display, TextureStore* store, Show* show);
