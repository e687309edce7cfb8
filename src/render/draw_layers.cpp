// The frame's layers through the display's draws, each with the colour it carries.
#include "render/draw_layers.h"

#include "render/demo_window.h"
#include "render/texture_store.h"

#include <GL/glew.h>

namespace {

void setColour(const Colour& colour) { glColor4f(colour.r, colour.g, colour.b, colour.a); }

bool sameColour(const Colour& a, const Colour& b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; }

// An opacity of 0 (or below, which GL clamps to 0) leaves every pixel as it is.
bool noOpacity(float alpha) { return alpha <= 0.0f; }

// A square of half-size h in the z = 0 plane of the current model-view matrix, the whole texture
// on it.
void drawCentredSquare(float h) {
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

void drawFullOutput(DemoWindow* display) { display->drawQuad(Vec3(0, 0, 0), Vec2(0, 1), Vec2(1, 0)); }

// The rings from the farthest to the nearest, each square in its own colour, in the tunnel's one
// texture; the modelview matrix is left at the tube's offset. A colour is set only where it
// changes: setting the same colour again between squares makes the software rasteriser round the
// squares' edges differently.
void drawTunnelRings(const TunnelLayer& tunnel) {
    if (!currentTextures || !currentTextures->holds(tunnel.slot)) return;
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    currentTextures->bind(tunnel.slot);
    glTranslatef(tunnel.shift.x, tunnel.shift.y, 0.0f);
    for (int i = 0; i < tunnel.ringCount; ++i) {
        const TunnelRing& ring = tunnel.rings[i];
        glPushMatrix();
        glTranslatef(ring.at.x, ring.at.y, ring.at.z);
        glRotatef(ring.angleDegrees, 0.0f, 0.0f, 1.0f);
        for (int k = 0; k < ring.squareCount; ++k) {
            const Colour& colour = ring.squares[k].colour;
            if (k == 0 || !sameColour(colour, ring.squares[k - 1].colour)) setColour(colour);
            drawCentredSquare(ring.squares[k].halfSize);
        }
        glPopMatrix();
    }
}

void drawStatic(DemoWindow* display, const ShaderProgram& noise, const Layer& layer, bool whole) {
    if (!noise.linked) return;  // no program, no noise: never a flat quad in whatever colour is current
    glUseProgram(noise.program);
    glUniform1f(glGetUniformLocation(noise.program, "time"), layer.noiseTime);
    glUniform1f(glGetUniformLocation(noise.program, "alpha"), layer.noiseAlpha);
    if (whole || !noOpacity(layer.noiseAlpha)) drawFullOutput(display);
    glUseProgram(0);
}

void drawLayer(DemoWindow* display, const ShaderProgram& noise, const Layer& layer, bool whole) {
    switch (layer.kind) {
    case LayerKind::Image:
        if (!whole && noOpacity(layer.colour.a)) return;
        setColour(layer.colour);
        display->drawSprite(layer.slot, Vec2(layer.scale, layer.scale), layer.corner, layer.angleDegrees, whole);
        return;
    case LayerKind::Static: drawStatic(display, noise, layer, whole); return;
    case LayerKind::White:
    case LayerKind::Black:
        setColour(layer.colour);
        glDisable(GL_TEXTURE_2D);
        if (whole || !noOpacity(layer.colour.a)) drawFullOutput(display);
        return;
    }
}

bool coversOutput(const DemoWindow& display, const Layer& layer) {
    if (!(layer.colour.a >= 1.0f)) return false;
    if (layer.kind == LayerKind::White || layer.kind == LayerKind::Black) return true;
    return layer.kind == LayerKind::Image && layer.scale == 1.0f && layer.angleDegrees == 0.0f &&
           display.spriteCoversOutput(layer.slot, layer.corner);
}

}  // namespace

int lastCoveringLayer(const DemoWindow& display, const FrameLayers& frame) {
    for (size_t i = frame.layers.size(); i > 0; --i) {
        if (coversOutput(display, frame.layers[i - 1])) return int(i - 1);
    }
    return -1;
}

void drawFrameLayers(DemoWindow* display, const ShaderProgram& noise, const FrameLayers& frame, LayerDrawing how) {
    if (!display->hasContext()) return;
    bool whole = how == LayerDrawing::EveryQuadWhole;
    int covering = whole ? -1 : lastCoveringLayer(*display, frame);
    if (covering < 0 && frame.tunnel.slot >= 0) drawTunnelRings(frame.tunnel);
    for (size_t i = size_t(covering < 0 ? 0 : covering); i < frame.layers.size(); ++i) {
        drawLayer(display, noise, frame.layers[i], whole);
    }
}
