// The tunnel's rings. All arithmetic is in single precision; each sine and cosine is taken in
// double on the single-precision argument and rounded back.
#include "scenes/tunnel.h"

#include "base/frame_grid.h"
#include "scenes/placements.h"
#include "scenes/selection.h"
#include "sync/sync.h"

#include <cmath>

namespace {

float sinf1(float x) { return float(std::sin(double(x))); }
float cosf1(float x) { return float(std::cos(double(x))); }

float curveS(float s) { return cosf1(s / 5.0f) + cosf1(s / 20.0f) + sinf1(s / 15.0f) + sinf1(s / 7.0f); }
float curveU(float s) { return sinf1(s / 12.0f) + 4.0f * cosf1(s / 20.0f) + cosf1(s / 5.0f) + sinf1(s / 25.0f); }

struct Variation {
    int ringCount;
    float gainX, gainY;
    float spin;  // degrees per unit of the path parameter
    void (*squaresOfRing)(float depth, TunnelRing* ring);
};

void addSquare(TunnelRing* ring, Colour colour, float halfSize) {
    ring->squares[ring->squareCount++] = TunnelSquare{colour, halfSize};
}

void squaresOfVariation0(float l, TunnelRing* ring) {
    float q = 10.0f / (l + 1.0f);
    addSquare(ring, Colour{l / 8.0f, l / 5.0f, l / 4.0f, 10.0f / (l + 5.0f)}, q);
    addSquare(ring, Colour{l / 8.0f, l / 8.0f, l / 6.0f, q}, q / 4.0f);
}

void squaresOfVariation1(float l, TunnelRing* ring) {
    addSquare(ring, Colour{l / 2.0f, l / 7.0f, l / 12.0f, 13.0f / (l + 15.0f)}, 20.0f / (l + 1.0f));
}

void squaresOfVariation2(float l, TunnelRing* ring) {
    float q = 10.0f / (l + 1.0f);
    Colour colour = {l / 5.0f, l / 2.0f, l, 3.0f / (l + 1.0f)};
    addSquare(ring, colour, q);
    addSquare(ring, colour, q / 2.0f);
    addSquare(ring, colour, q / 4.0f);
}

const Variation variations[tunnelVariationCount] = {
    {10, 3.0f, 2.0f, 100.0f, squaresOfVariation0},
    {20, 3.0f, 2.0f, 100.0f, squaresOfVariation1},
    {10, 2.0f, 4.0f, 50.0f, squaresOfVariation2},
};

}  // namespace

float nextTunnelPhase(float move) {
    float p = -move;
    if (p < -1.0f) {
        // The whole steps that adding 1 until p >= -1 would take, in one go: the same result
        // whenever that loop ends, and an end for values where it would not.
        double steps = std::ceil(-1.0 - double(p));
        p = float(double(p) + steps);
    }
    return p;
}

// The rings run from the farthest (depth phase + N) to the nearest, one unit apart, N of them at
// most, so that a phase too large for single precision to count down from cannot hold the frame.
int describeTunnelVariation(int index, int slot, float m, TunnelState* state, TunnelLayer* out) {
    const Variation& v = variations[index];
    out->slot = slot;
    out->variation = index;
    out->shift = Vec2(-v.gainX * curveS(m), -v.gainY * curveU(m));
    float p = state->tunnelPhase[index];
    float l = p + float(v.ringCount);
    int ring = 0;
    for (; ring < v.ringCount && l > p; ++ring, l = l - 1.0f) {
        float s = l + m;
        TunnelRing& r = out->rings[ring];
        r.at = Vec3(v.gainX * curveS(s), v.gainY * curveU(s), -l);
        r.angleDegrees = v.spin * s;
        r.squareCount = 0;
        v.squaresOfRing(l, &r);
    }
    out->ringCount = ring;
    state->tunnelPhase[index] = nextTunnelPhase(m);
    return ring;
}

TunnelChoice chooseTunnel(const TunnelTracks& tracks, double row, const int* tunnelTextures, const ImageSizes& images) {
    TunnelChoice choice = {false, 0, -1, evaluateTrack(tracks.move, row)};
    int texture = 0;
    if (!pickEntry(evaluateTrack(tracks.texture, row), tunnelTextureCount, &texture)) return choice;
    if (!pickEntry(evaluateTrack(tracks.variation, row), tunnelVariationCount, &choice.variation)) return choice;
    choice.slot = tunnelTextures[texture];
    choice.drawn = imageHeld(images, choice.slot);
    return choice;
}

int describeTunnel(const TunnelTracks& tracks, double row, const int* tunnelTextures, const ImageSizes& images,
                   TunnelState* state, TunnelLayer* out) {
    *out = TunnelLayer();
    TunnelChoice choice = chooseTunnel(tracks, row, tunnelTextures, images);
    if (!choice.drawn) return 0;
    return describeTunnelVariation(choice.variation, choice.slot, choice.move, state, out);
}

void advanceTunnelPhases(const TunnelTracks& tracks, double row, const int* tunnelTextures, const ImageSizes& images,
                         TunnelState* state) {
    TunnelChoice choice = chooseTunnel(tracks, row, tunnelTextures, images);
    if (choice.drawn) state->tunnelPhase[choice.variation] = nextTunnelPhase(choice.move);
}

void bringTunnelPhasesTo(const TunnelTracks& tracks, const int* tunnelTextures, const ImageSizes& images, double row,
                         TunnelPhaseGrid* grid, TunnelState* state) {
    int64_t first = firstFrameAtOrAfter(row, grid->fpsNum, grid->fpsDen);
    if (first < grid->nextFrame) {
        *state = TunnelState();
        grid->nextFrame = 0;
    }
    for (; grid->nextFrame < first; ++grid->nextFrame) {
        double frameRow = frameGridRow(grid->nextFrame, grid->fpsNum, grid->fpsDen);
        advanceTunnelPhases(tracks, frameRow, tunnelTextures, images, state);
    }
}
