// The tunnel: a flight through a winding tube of textured, spinning, semi-transparent squares,
// one ring per unit of depth, drawn in the 3-D projection. Three ring designs (variations) and
// three textures, chosen by tracks; each variation keeps its own phase from frame to frame, so
// its rings keep their places along the tube as the flight moves on.
#pragma once

#include "render/frame_layers.h"
#include "scenes/frame_state.h"

#include <cstdint>

struct SyncTrack;

struct TunnelState {
    float tunnelPhase[3] = {0.0f, 0.0f, 0.0f};  // one per variation, changed only when it is shown
};

struct TunnelTracks {
    const SyncTrack* move;
    const SyncTrack* texture;
    const SyncTrack* variation;
};

// Writes the tunnel of the row (its slot -1 when none is shown) and stores the shown variation's
// new phase. Returns the number of rings.
int describeTunnel(const TunnelTracks& tracks, double row, const int* tunnelTextures, const ImageSizes& images,
                   TunnelState* state, TunnelLayer* out);

// Writes one complete tunnel of a variation (0..2) with a slot at move value m, stores the
// variation's new phase and returns the number of rings.
int describeTunnelVariation(int variation, int slot, float move, TunnelState* state, TunnelLayer* out);

// What describeTunnel shows at a row: whether a tunnel is shown, which variation, with which slot
// and move value.
struct TunnelChoice {
    bool drawn;
    int variation;
    int slot;
    float move;
};
TunnelChoice chooseTunnel(const TunnelTracks& tracks, double row, const int* tunnelTextures, const ImageSizes& images);

// Updates the phases as showing the frame at this row would, without writing its rings.
void advanceTunnelPhases(const TunnelTracks& tracks, double row, const int* tunnelTextures, const ImageSizes& images,
                         TunnelState* state);

// The frames of a grid of fpsNum / fpsDen frames a second that have left their phases in a
// TunnelState: frames 0 .. nextFrame - 1.
struct TunnelPhaseGrid {
    int64_t fpsNum = 60;
    int64_t fpsDen = 1;
    int64_t nextFrame = 0;
};

// Brings the phases to those the grid's frames before `row` leave, as a renderer that starts in
// the middle of the show needs them: onward from the frames already taken, or over from frame 0
// when the row lies before them.
void bringTunnelPhasesTo(const TunnelTracks& tracks, const int* tunnelTextures, const ImageSizes& images, double row,
                         TunnelPhaseGrid* grid, TunnelState* state);

// The phase a variation stores after being shown at move value m: -m, brought up into [-1, 0) by
// whole steps when it lies below -1.
float nextTunnelPhase(float move);
