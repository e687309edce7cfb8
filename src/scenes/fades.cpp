// Full-output layers. Each is drawn every frame, also at opacity 0, with the value as the track
// gives it: the fixed-function pipeline clamps a colour's alpha, the noise shader its own.
#include "scenes/fades.h"

#include "render/demo_window.h"
#include "sync/sync.h"

#include <GL/glew.h>

namespace {

void drawFullOutput(DemoWindow* display) { display->drawQuad(Vec3(0, 0, 0), Vec2(0, 1), Vec2(1, 0)); }

void drawFlatLayer(DemoWindow* display, float grey, float alpha) {
    glColor4f(grey, grey, grey, alpha);
    glDisable(GL_TEXTURE_2D);
    drawFullOutput(display);
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
    drawFullOutput(display);
    glUseProgram(0);
}

void renderWhiteFade(const FrameState& frame, DemoWindow* display, const SyncTrack* fadeBgWhite) {
    drawFlatLayer(display, 1.0f, evaluateTrack(fadeBgWhite, frame.row));
}

void renderBlackFade(const FrameState& frame, DemoWindow* display, const SyncTrack* fadeFgBlack) {
    drawFlatLayer(display, 0.0f, evaluateTrack(fadeFgBlack, frame.row));
}
