// The heads-up display's text and its drawing.
#include "preview/hud.h"

#include "base/show_facts.h"
#include "render/demo_window.h"
#include "scenes/selection.h"

#include <GL/glew.h>
#include <stb/stb_easy_font.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr float lineHeight = 12.0f;    // in font pixels
constexpr float panelMargin = 6.0f;    // in window pixels
constexpr int maxQuadsPerLine = 1200;  // 16 floats each; a 120-character line needs fewer

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

struct ImageGroup {
    const char* name;
    SyncTrack* TrackSet::*track;
    int* entries;
    int count;
};

// The entry of a group the track picks at the row, with the file it was loaded from.
std::string groupLine(const ImageGroup& group, const TrackSet& tracks, AssetCatalogue* catalogue, double row) {
    int index = 0;
    if (!pickEntry(evaluateTrack(tracks.*group.track, row), group.count, &index)) {
        return std::string(group.name) + ": none";
    }
    std::string file;
    for (const CatalogueEntry& entry : catalogueEntries(catalogue)) {
        if (entry.slot == &group.entries[index]) file = entry.fileName;
    }
    return std::string(group.name) + ": " + std::to_string(index) + " " + file;
}

}  // namespace

std::string hudStatusLine(const Transport& transport, const MusicalGrid& grid, double framesPerSecond) {
    std::string line = format("row %.2f", transport.row);
    std::string barBeat = barBeatText(grid, transport.row);
    if (!barBeat.empty()) line += "  " + barBeat;
    line += format("  %.3f s", transport.row / rowsPerSecond) + format("  %.1f fps", framesPerSecond);
    if (transport.paused) line += "  paused";
    if (transport.looping) {
        line += "  loop " + barBeatText(grid, transport.loopStart) + "-" + barBeatText(grid, transport.loopEnd);
    }
    return line;
}

std::vector<std::string> hudTrackLines(const TrackSet& tracks, AssetCatalogue* catalogue, double row) {
    std::vector<std::string> lines;
    for (int i = 0; i < trackCount; ++i) {
        char text[96];
        std::snprintf(text, sizeof text, "%-24s %10.3f", trackNames[i], evaluateTrack(tracks.*trackSetFields[i], row));
        lines.push_back(text);
    }
    const ImageGroup groups[] = {
        {"good face", &TrackSet::avatarGood, catalogue->goodAvatars, goodFaceCount},
        {"good lyric", &TrackSet::lyricsGood, catalogue->goodLyrics, goodLyricCount},
        {"evil face", &TrackSet::avatarEvil, catalogue->evilAvatars, evilFaceCount},
        {"evil lyric", &TrackSet::lyricsEvil, catalogue->evilLyrics, evilLyricCount},
        {"pictogram", &TrackSet::pictogramPictogram, catalogue->pictograms, pictogramCount},
        {"feature", &TrackSet::features, catalogue->featureImages, featureCount},
        {"tunnel texture", &TrackSet::tunnelTexture, catalogue->tunnelTextures, tunnelTextureCount},
    };
    for (const ImageGroup& group : groups) lines.push_back(groupLine(group, tracks, catalogue, row));
    lines.push_back(format("photographs from %.2f", evaluateTrack(tracks.refrainPolaroidStart, row)) +
                    format(" to %.2f", evaluateTrack(tracks.refrainPolaroidEnd, row)));
    return lines;
}

namespace {

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

void drawHudLines(DemoWindow* display, const std::vector<std::string>& lines, bool alert) {
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
    if (alert) {
        glColor4f(1.0f, 0.45f, 0.4f, 1.0f);
    } else {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
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
