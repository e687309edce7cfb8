// Full-output layers, with the value as the track gives it: the fixed-function pipeline clamps a
// colour's alpha, the noise shader its own. A layer at opacity 0 (or below) would leave every
// pixel as it is, so its quad is not drawn, unless the display draws every quad whole; its colour,
// program and uniforms are set all the same, as the steps after it may rely on them.
#include "scenes/fades.h"

#include "render/demo_window.h"
#include "sync/sync.h"

#include <GL/glew.h>

namespace {

void drawFullOutput(DemoWindow* display) { display->drawQuad(Vec3(0, 0, 0), Vec2(0, 1), Vec2(1, 0)); }

bool invisible(const DemoWindow* display, float alpha) { return alpha <= 0.0f && !display->everyQuadWhole; }

void drawFlatLayer(DemoWindow* display, float grey, float alpha) {
    glColor4f(grey, grey, grey, alpha);
    glDisable(GL_TEXTURE_2D);
    if (!invisible(display, alpha)) drawFullOutput(display);
}

}  // namespace

void renderNoiseOverlay(const FrameState& frame, DemoWindow* display, const ShaderProgram& shader,
                        const SyncTrack* fadeFgNoise) {
    float noise = evaluateTrack(fadeFgNoise, frame.row);
    // A program that did not link cannot draw noise: the layer stays out rather than being drawn
    // as a flat quad in whatever colour is current.
    if (!shader.linked) return;
    glUseProgram(shader.program);
    glUniform1f(glGetUniformLocation(shader.program, "time"), float(frame.t));
    glUniform1f(glGetUniformLocation(shader.program, "alpha"), noise);
    if (!invisible(display, noise)) drawFullOutput(display);
    glUseProgram(0);
}

void renderWhiteFade(const FrameState& frame, DemoWindow* display, const SyncTrack* fadeBgWhite) {
    drawFlatLayer(display, 1.0f, evaluateTrack(fadeBgWhite, frame.row));
}

void renderBlackFade(const FrameState& frame, DemoWindow* display, const SyncTrack* fadeFgBlack) {
    drawFlatLayer(display, 0.0f, evaluateTrack(fadeFgBlack, frame.row));
}
