// The two 2-D draws of the display. Each switches to a temporary orthographic projection in
// output pixels (y down) for the one draw and restores the perspective projection afterwards,
// so 2-D and 3-D drawing mix freely within a frame. The quads give no normal: lighting is off, so
// none reaches a pixel, and a browser's GL emulation takes a normal given once before the first
// corner as part of that corner alone, which throws the others out of place.
#include "render/demo_window.h"

#include "render/texture_store.h"
#include "render/viewport.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

void DemoWindow::switchTo2D() {
    if (in2D) return;
    glPushMatrix();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    in2D = true;
}

void DemoWindow::restoreFrom2D() {
    if (!in2D) return;
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    setPerspective();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    in2D = false;
}

void DemoWindow::drawQuad(const Vec3& origin, const Vec2& tcA, const Vec2& tcB) {
    if (!hasContext()) return;
    glDepthMask(GL_FALSE);
    switchTo2D();
    float w = float(width), h = float(height);
    glBegin(GL_QUADS);
    glTexCoord2f(tcA.x, tcA.y);
    glVertex3f(origin.x, origin.y + h, origin.z);
    glTexCoord2f(tcB.x, tcA.y);
    glVertex3f(origin.x + w, origin.y + h, origin.z);
    glTexCoord2f(tcB.x, tcB.y);
    glVertex3f(origin.x + w, origin.y, origin.z);
    glTexCoord2f(tcA.x, tcB.y);
    glVertex3f(origin.x, origin.y, origin.z);
    glEnd();
    restoreFrom2D();
    glDepthMask(GL_TRUE);
}

namespace {

// The window pixels the part of a sprite can touch: its corners (relative to the sprite's
// centre, in output pixels) turned by the angle as glRotatef turns them, placed at the centre,
// mapped through the letterboxed viewport, and widened by a pixel.
struct PixelBox {
    int x0, y0, x1, y1;
};

// A whole window coordinate as an int. A sprite placed by a track may lie anywhere, even at a
// float's end or at NaN: such a coordinate is held far off the window, where the box's
// arithmetic cannot overflow and the scissor still cuts it away.
int windowPixel(float value) {
    constexpr float farOff = 1e8f;
    if (!(value > -farOff)) return -int(farOff);
    if (value > farOff) return int(farOff);
    return int(value);
}

PixelBox windowBox(const Viewport& viewport, float outputWidth, float outputHeight, float centreX, float centreY,
                   const float (&corners)[4][2], float angleDegrees) {
    float radians = angleDegrees * 3.14159265f / 180.0f;
    float c = std::cos(radians), s = std::sin(radians);
    float sx = float(viewport.width) / outputWidth, sy = float(viewport.height) / outputHeight;
    float left = 1e30f, right = -1e30f, bottom = 1e30f, top = -1e30f;
    for (const auto& corner : corners) {
        float x = centreX + c * corner[0] - s * corner[1];
        float y = centreY + s * corner[0] + c * corner[1];
        float wx = float(viewport.x) + x * sx, wy = float(viewport.y) + (outputHeight - y) * sy;
        left = std::min(left, wx), right = std::max(right, wx);
        bottom = std::min(bottom, wy), top = std::max(top, wy);
    }
    return PixelBox{windowPixel(std::floor(left)) - 1, windowPixel(std::floor(bottom)) - 1,
                    windowPixel(std::ceil(right)) + 1, windowPixel(std::ceil(top)) + 1};
}

}  // namespace

bool DemoWindow::spriteCoversOutput(int slot, Vec2 position) const {
    if (!currentTextures || !currentTextures->holds(slot)) return false;
    const Texture& texture = currentTextures->get(slot);
    const TexelRect& band = texture.opaque;
    if (band.top >= band.bottom) return false;
    return position.x * scaleX <= 0.0f && (position.x + texture.width) * scaleX >= float(width) &&
           (position.y + float(band.top)) * scaleY <= 0.0f &&
           (position.y + float(band.bottom)) * scaleY >= float(height);
}

void DemoWindow::drawSprite(int slot, const Vec2& scale, Vec2 position, float angleDegrees, bool whole) {
    if (!hasContext() || !currentTextures || !currentTextures->holds(slot)) return;
    const Texture& texture = currentTextures->get(slot);
    const TexelRect& part = texture.visible;
    if (!whole && (part.left >= part.right || part.top >= part.bottom)) return;
    float x = position.x * scaleX;
    float y = position.y * scaleY;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture.glName);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);  // the integer form: browsers take only it
    float w = texture.width * scaleX * scale.x;
    float h = texture.height * scaleY * scale.y;
    // Only the pixels the visible texels can reach are drawn, through a scissor box: the quad
    // itself stays whole, so every pixel drawn is exactly the pixel the whole quad gives. The old
    // path draws every sprite whole, for comparing the two.
    if (!whole) {
        float x0 = w * (float(part.left) / texture.width - 0.5f), x1 = w * (float(part.right) / texture.width - 0.5f);
        float y0 = h * (float(part.top) / texture.height - 0.5f), y1 = h * (float(part.bottom) / texture.height - 0.5f);
        const float corners[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
        PixelBox box = windowBox(letterboxViewport(width, height, designWidth, designHeight), float(width),
                                 float(height), x + w * 0.5f, y + h * 0.5f, corners, angleDegrees);
        glEnable(GL_SCISSOR_TEST);
        glScissor(box.x0, box.y0, std::max(box.x1 - box.x0, 0), std::max(box.y1 - box.y0, 0));
    }
    switchTo2D();
    glTranslatef(x + w * 0.5f, y + h * 0.5f, 0);
    glRotatef(angleDegrees, 0, 0, 1);
    glDisable(GL_DEPTH_TEST);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex3f(-w / 2, h / 2, 0);
    glTexCoord2f(1, 1);
    glVertex3f(w / 2, h / 2, 0);
    glTexCoord2f(1, 0);
    glVertex3f(w / 2, -h / 2, 0);
    glTexCoord2f(0, 0);
    glVertex3f(-w / 2, -h / 2, 0);
    glEnd();
    glDisable(GL_SCISSOR_TEST);
    restoreFrom2D();
}
