// The two 2-D draws of the display. Each switches to a temporary orthographic projection in
// output pixels (y down) for the one draw and restores the perspective projection afterwards,
// so 2-D and 3-D drawing mix freely within a frame.
#include "render/demo_window.h"

#include "render/texture_store.h"

#include <GL/glew.h>

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
    glNormal3f(0, 0, 1);
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

void DemoWindow::drawSprite(int slot, const Vec2& scale, Vec2 position, float angleDegrees) {
    if (!hasContext() || !currentTextures || !currentTextures->holds(slot)) return;
    const Texture& texture = currentTextures->get(slot);
    float x = position.x * scaleX;
    float y = position.y * scaleY;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture.glName);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    float w = texture.width * scaleX * scale.x;
    float h = texture.height * scaleY * scale.y;
    switchTo2D();
    glTranslatef(x + w * 0.5f, y + h * 0.5f, 0);
    glRotatef(angleDegrees, 0, 0, 1);
    glDisable(GL_DEPTH_TEST);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 1);
    glVertex3f(-w / 2, h / 2, 0);
    glTexCoord2f(1, 1);
    glVertex3f(w / 2, h / 2, 0);
    glTexCoord2f(1, 0);
    glVertex3f(w / 2, -h / 2, 0);
    glTexCoord2f(0, 0);
    glVertex3f(-w / 2, -h / 2, 0);
    glEnd();
    restoreFrom2D();
}
