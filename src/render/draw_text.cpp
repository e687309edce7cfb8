// Text lines on a dark panel, drawn with stb_easy_font's quads.
#include "render/draw_text.h"

#include "render/demo_window.h"

#include <GL/glew.h>
#include <stb/stb_easy_font.h>

#include <algorithm>

namespace {

constexpr float lineHeight = 12.0f;    // in font pixels
constexpr float panelMargin = 6.0f;    // in window pixels
constexpr int maxQuadsPerLine = 1200;  // 16 floats each; a 120-character line needs fewer

void drawPanel(float width, float height) {
    glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(width, 0);
    glVertex2f(width, height);
    glVertex2f(0, height);
    glEnd();
}

// The font's calls take writable text.
std::vector<char> fontText(const std::string& line) {
    std::vector<char> text(line.begin(), line.end());
    text.push_back('\0');
    return text;
}

void drawLine(const std::string& line, float y, std::vector<float>* quads) {
    std::vector<char> text = fontText(line);
    int count = stb_easy_font_print(0, y, text.data(), nullptr, quads->data(), int(quads->size() * sizeof(float)));
    glVertexPointer(2, GL_FLOAT, 16, quads->data());
    glDrawArrays(GL_QUADS, 0, count * 4);
}

}  // namespace

void drawTextPanel(DemoWindow* display, const std::vector<std::string>& lines, Colour textColour) {
    if (!display->hasContext() || lines.empty()) return;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, display->width, display->height, 0, -1, 1);  // window pixels, y down
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glViewport(0, 0, display->width, display->height);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);  // y runs down here, which turns the font's quads to face away
    glEnable(GL_BLEND);
    glUseProgram(0);
    // The font's glyphs are 7 pixels high: twice that from a 540-line window up.
    float textScale = display->height >= 540 ? 2.0f : 1.0f;
    int widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, stb_easy_font_width(fontText(line).data()));
    float panelHeight = (lineHeight * float(lines.size()) + 4.0f) * textScale + 2 * panelMargin;
    drawPanel(float(widest) * textScale + 2 * panelMargin, panelHeight);
    glTranslatef(panelMargin, panelMargin, 0);
    glScalef(textScale, textScale, 1);
    glEnableClientState(GL_VERTEX_ARRAY);
    glColor4f(textColour.r, textColour.g, textColour.b, textColour.a);
    std::vector<float> quads(size_t(maxQuadsPerLine) * 16);
    for (size_t i = 0; i < lines.size(); ++i) drawLine(lines[i], 2.0f + lineHeight * float(i), &quads);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopClientAttrib();
    glPopAttrib();
}
