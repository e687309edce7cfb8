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

// Up to this many lines are drawn large on a large window; a longer list (the preview's tracks)
// is drawn small, so the panel leaves most of the picture seen.
constexpr size_t mostLargeLines = 8;

void drawPanel(float width, float height) {
    glColor4f(0.0f, 0.0f, 0.0f, 0.45f);
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

// The line cut into pieces of at most `width` font pixels, at a space where there is one, each
// piece after the first indented by two spaces: a long error line is wrapped, never cut off.
void wrapLine(const std::string& line, int width, std::vector<std::string>* out) {
    std::string rest = line;
    bool first = true;
    while (!rest.empty()) {
        std::string shown = first ? rest : "  " + rest;
        if (stb_easy_font_width(fontText(shown).data()) <= width) {
            out->push_back(shown);
            return;
        }
        size_t fits = 1;
        while (fits < rest.size() &&
               stb_easy_font_width(fontText((first ? "" : "  ") + rest.substr(0, fits + 1)).data()) <= width) {
            ++fits;
        }
        size_t cut = rest.rfind(' ', fits);
        if (cut == std::string::npos || cut == 0) cut = fits;
        out->push_back((first ? "" : "  ") + rest.substr(0, cut));
        rest = rest.substr(cut);
        while (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
        first = false;
    }
}

}  // namespace

TextPanelLayout layoutTextPanel(const std::vector<std::string>& lines, int windowWidth, int windowHeight) {
    TextPanelLayout layout;
    int widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, stb_easy_font_width(fontText(line).data()));
    float room = float(windowWidth) - 2 * panelMargin;
    bool large = windowHeight >= 540 && lines.size() <= mostLargeLines && float(widest) * 2.0f <= room;
    layout.scale = large ? 2.0f : 1.0f;
    int width = std::max(8, int(room / layout.scale));
    for (const std::string& line : lines) wrapLine(line, width, &layout.lines);
    return layout;
}

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
    TextPanelLayout layout = layoutTextPanel(lines, display->width, display->height);
    float textScale = layout.scale;
    int widest = 0;
    for (const std::string& line : layout.lines) widest = std::max(widest, stb_easy_font_width(fontText(line).data()));
    float panelHeight = (lineHeight * float(layout.lines.size()) + 4.0f) * textScale + 2 * panelMargin;
    drawPanel(float(widest) * textScale + 2 * panelMargin, panelHeight);
    glTranslatef(panelMargin, panelMargin, 0);
    glScalef(textScale, textScale, 1);
    glEnableClientState(GL_VERTEX_ARRAY);
    glColor4f(textColour.r, textColour.g, textColour.b, textColour.a);
    std::vector<float> quads(size_t(maxQuadsPerLine) * 16);
    for (size_t i = 0; i < layout.lines.size(); ++i) drawLine(layout.lines[i], 2.0f + lineHeight * float(i), &quads);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopClientAttrib();
    glPopAttrib();
}
