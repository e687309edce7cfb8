// The tunnel: a flight through a winding tube of textured, spinning, semi-transparent squares,
// one ring per unit of depth, drawn in the 3-D projection. Three ring designs (variations) and
// three textures, chosen by tracks; each variation keeps its own phase from frame to frame, so
// its rings keep their places along the tube as the flight moves on.
#pragma once

#include "scenes/frame_state.h"

struct SyncTrack;

struct TunnelState {
    float tunnelPhase[3] = {0.0f, 0.0f, 0.0f};  // one per variation, changed only when it draws
};

struct TunnelTracks {
    const SyncTrack* move;
    const SyncTrack* texture;
    const SyncTrack* variation;
};

// Returns the number of rings drawn.
int renderTunnel(const TunnelTracks& tracks, double row, const int* tunnelTextures, TunnelState* state);

// What renderTunnel would draw at a row: whether a tunnel is drawn, which variation, with which
// slot and move value.
struct TunnelChoice {
    bool drawn;
    int variation;
    int slot;
    float move;
};
TunnelChoice chooseTunnel(const TunnelTracks& tracks, double row, const int* tunnelTextures);

// Updates the phases as drawing the frame at this row would, without drawing: for a renderer
// that starts in the middle of the show and needs the phases of the frames before.
void advanceTunnelPhases(const TunnelTracks& tracks, double row, const int* tunnelTextures, TunnelState* state);
// Each draws one complete tunnel of its variation, stores its new phase and returns the number
// of rings drawn (0, phase untouched, when the store does not hold the slot).
int drawTunnelVariation0(int slot, float move, TunnelState* state);
int drawTunnelVariation1(int slot, float move, TunnelState* state);
int drawTunnelVariation2(int slot, float move, TunnelState* state);
// One textured square of half-size h in the z = 0 plane of the current model-view matrix.
void drawCentredQuad(float h);

// The phase a variation stores after drawing at move value m: -m, brought up into [-1, 0) by whole
// steps when it lies below -1.
float nextTunnelPhase(float move);
