// The show the demo draws, opened from the working directory the one way every program opens it
// (the demo, the capture tool, the preview): a texture store, the sync device with the 20 tracks,
// and, in the display's GL context, the noise program and the 145 images in catalogue order.
#pragma once

#include "render/frame_layers.h"
#include "render/shader_program.h"
#include "runtime/asset_catalogue.h"
#include "runtime/track_set.h"
#include "scenes/tunnel.h"

class DemoWindow;
struct SyncDevice;
struct TextureStore;

// Everything the scenes draw with: opened once, read while frames are drawn. The tunnel's phases
// and the frame's layers are the things a frame changes.
struct Show {
    SyncDevice* device = nullptr;      // owns the tracks
    TextureStore* textures = nullptr;  // owns the images; the program's one store while open
    TrackSet tracks = {};
    ShaderProgram shader = {};
    AssetCatalogue catalogue = {};
    ImageSizes images;  // by slot, as the store holds them
    TunnelState tunnel;
    FrameLayers layers;  // the last frame's, reserved for the most a frame holds
};

// Opens the show for an open display, blending on as the frames are drawn, leaving no program
// current. Without a GL context on the display there is nothing to draw with: the shader stays 0
// and every catalogue entry -1. False, with nothing left open, only when the sync device cannot
// be made (memory ran out).
bool openShow(DemoWindow* display, Show* show);
// Takes in the store's images' sizes again, after an image was loaded or reloaded.
void noteImageSizes(Show* show);
// Destroys the sync device with its tracks and the store (GL's names end with the context).
void closeShow(Show* show);
