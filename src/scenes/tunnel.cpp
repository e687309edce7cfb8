// The tunnel's rings. All arithmetic is in single precision; each sine and cosine is taken in
// double on the single-precision argument and rounded back.
#include "scenes/tunnel.h"

#include "render/texture_store.h"
#include "scenes/placements.h"
#include "scenes/selection.h"
#include "sync/sync.h"

#include <GL/glew.h>

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
    void (*drawRing)(int slot, float depth);
};

void ringOfVariation0(int slot, float l) {
    float q = 10.0f / (l + 1.0f);
    glColor4f(l / 8.0f, l / 5.0f, l / 4.0f, 10.0f / (l + 5.0f));
    drawCentredQuad(q);
    currentTextures->bind(slot);
    glColor4f(l / 8.0f, l / 8.0f, l / 6.0f, q);
    drawCentredQuad(q / 4.0f);
}

void ringOfVariation1(int, float l) {
    glColor4f(l / 2.0f, l / 7.0f, l / 12.0f, 13.0f / (l + 15.0f));
    drawCentredQuad(20.0f / (l + 1.0f));
}

void ringOfVariation2(int, float l) {
    float q = 10.0f / (l + 1.0f);
    glColor4f(l / 5.0f, l / 2.0f, l, 3.0f / (l + 1.0f));
    drawCentredQuad(q);
    drawCentredQuad(q / 2.0f);
    drawCentredQuad(q / 4.0f);
}

const Variation variations[3] = {
    {10, 3.0f, 2.0f, 100.0f, ringOfVariation0},
    {20, 3.0f, 2.0f, 100.0f, ringOfVariation1},
    {10, 2.0f, 4.0f, 50.0f, ringOfVariation2},
};

// Draws one complete tunnel of a variation and stores its new phase. The rings run from the
// farthest (depth phase + N) to the nearest, one unit apart, N of them at most, so that a phase
// too large for single precision to count down from cannot hold the frame.
int drawVariation(int index, int slot, float m, TunnelState* state) {
    const Variation& v = variations[index];
    if (!currentTextures || !currentTextures->holds(slot)) return 0;  // no image, no tunnel
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    currentTextures->bind(slot);
    glTranslatef(-v.gainX * curveS(m), -v.gainY * curveU(m), 0.0f);
    float p = state->tunnelPhase[index];
    float l = p + float(v.ringCount);
    int ring = 0;
    for (; ring < v.ringCount && l > p; ++ring, l = l - 1.0f) {
        glPushMatrix();
        float s = l + m;
        glTranslatef(v.gainX * curveS(s), v.gainY * curveU(s), -l);
        glRotatef(v.spin * s, 0.0f, 0.0f, 1.0f);
        currentTextures->bind(slot);
        v.drawRing(slot, l);
        glPopMatrix();
    }
    state->tunnelPhase[index] = nextTunnelPhase(m);
    return ring;
}

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

void drawCentredQuad(float h) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex3f(-h, -h, 0);
    glTexCoord2f(1, 1);
    glVertex3f(h, -h, 0);
    glTexCoord2f(1, 0);
    glVertex3f(h, h, 0);
    glTexCoord2f(0, 0);
    glVertex3f(-h, h, 0);
    glEnd();
}

int drawTunnelVariation0(int slot, float move, TunnelState* state) { return drawVariation(0, slot, move, state); }
int drawTunnelVariation1(int slot, float move, TunnelState* state) { return drawVariation(1, slot, move, state); }
int drawTunnelVariation2(int slot, float move, TunnelState* state) { return drawVariation(2, slot, move, state); }

TunnelChoice chooseTunnel(const TunnelTracks& tracks, double row, const int* tunnelTextures) {
    TunnelChoice choice = {false, 0, -1, evaluateTrack(tracks.move, row)};
    int texture = 0;
    if (!pickEntry(evaluateTrack(tracks.texture, row), tunnelTextureCount, &texture)) return choice;
    if (!pickEntry(evaluateTrack(tracks.variation, row), tunnelVariationCount, &choice.variation)) return choice;
    choice.slot = tunnelTextures[texture];
    choice.drawn = currentTextures && currentTextures->holds(choice.slot);
    return choice;
}

int renderTunnel(const TunnelTracks& tracks, double row, const int* tunnelTextures, TunnelState* state) {
    TunnelChoice choice = chooseTunnel(tracks, row, tunnelTextures);
    if (!choice.drawn) return 0;
    if (choice.variation == 0) return drawTunnelVariation0(choice.slot, choice.move, state);
    if (choice.variation == 1) return drawTunnelVariation1(choice.slot, choice.move, state);
    return drawTunnelVariation2(choice.slot, choice.move, state);
}

void advanceTunnelPhases(const TunnelTracks& tracks, double row, const int* tunnelTextures, TunnelState* state) {
    TunnelChoice choice = chooseTunnel(tracks, row, tunnelTextures);
    if (choice.drawn) state->tunnelPhase[choice.variation] = nextTunnelPhase(choice.move);
}
