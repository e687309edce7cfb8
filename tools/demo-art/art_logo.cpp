// The logo: the group's name as a logotype (a warm gradient in a thick outline over a row of
// coloured pixels) with a tagline. The demo centres it by its width, so the canvas is made just
// as wide as the drawing, with the same margin on both sides.
#include <cstdio>
#include <string>
#include <vector>

#include "art_canvas.h"
#include "art_groups.h"
#include "art_show_text.h"

namespace {

constexpr double nameSize = 118;
constexpr double maxNameWidth = 820;
constexpr double margin = 24;
constexpr int logoHeight = 196;

double measure(cairo_font_face_t* face, double size, const std::string& text) {
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(scratch);
    useFont(cr, face, size);
    double width = textWidth(cr, text);
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
    return width;
}

void drawPixelRow(cairo_t* cr, double left, double width, double y) {
    const Rgb colours[] = {palette::coral, palette::sun, palette::teal, palette::sky, palette::purple, palette::orange};
    double cell = 18;
    int count = int(width / (cell + 6));
    double start = left + (width - count * (cell + 6) + 6) * 0.5;
    for (int i = 0; i < count; ++i) {
        roundedRectPath(cr, start + i * (cell + 6), y + (i % 2) * 4, cell, cell, 4);
        fillOutlined(cr, colours[i % 6], 2.5);
    }
}

void drawName(cairo_t* cr, const std::string& name, double size, double centreX, double baseline) {
    cairo_new_path(cr);
    centredTextPath(cr, name, centreX + 5, baseline + 7);
    setRgb(cr, palette::ink, 0.35);
    cairo_fill(cr);
    centredTextPath(cr, name, centreX, baseline);
    setRgb(cr, palette::ink);
    cairo_set_line_width(cr, 16);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* warm = cairo_pattern_create_linear(0, baseline - size * 0.75, 0, baseline);
    Rgb light = mixRgb(palette::sun, palette::cream, 0.45);
    cairo_pattern_add_color_stop_rgb(warm, 0.0, light.r, light.g, light.b);
    cairo_pattern_add_color_stop_rgb(warm, 0.55, palette::sun.r, palette::sun.g, palette::sun.b);
    cairo_pattern_add_color_stop_rgb(warm, 1.0, palette::orange.r, palette::orange.g, palette::orange.b);
    cairo_set_source(cr, warm);
    cairo_fill(cr);
    cairo_pattern_destroy(warm);
}

}  // namespace

int drawLogoImage(const ArtJob& job) {
    std::vector<TaggedLine> lines = artTextLines(artTextsPath(job), "logo", 1);
    if (lines.empty()) return -1;
    std::vector<std::string> parts = splitParts(lines[0].text);
    if (parts.size() != 2 || parts[0].empty() || parts[1].empty()) {
        fprintf(stderr, "demo-art: %sthe logo needs \"NAME | TAGLINE\"\n", whereOf(lines[0]).c_str());
        return -1;
    }
    double size = nameSize;
    while (size > 40 && measure(job.fonts.headline, size, parts[0]) > maxNameWidth) size -= 2;
    double nameWidth = measure(job.fonts.headline, size, parts[0]);
    double taglineWidth = measure(job.fonts.rounded, 28, parts[1]);
    if (nameWidth > maxNameWidth || taglineWidth > maxNameWidth) {
        fprintf(stderr, "demo-art: %sthe logo's text is too long\n", whereOf(lines[0]).c_str());
        return -1;
    }
    double contentWidth = nameWidth > taglineWidth ? nameWidth : taglineWidth;
    int width = int(contentWidth + 2 * margin + 0.5);
    Canvas canvas = makeCanvas(width, logoHeight, false);
    double centreX = width * 0.5;
    drawPixelRow(canvas.cr, margin, contentWidth, 122);
    useFont(canvas.cr, job.fonts.headline, size);
    drawName(canvas.cr, parts[0], size, centreX, 118);
    useFont(canvas.cr, job.fonts.rounded, 28);
    drawOutlinedText(canvas.cr, parts[1], centreX, 182, palette::cream, 6);
    int result = writeCanvas(canvas, job.outRoot, "data/zemlogo.png", false);
    freeCanvas(canvas);
    return result;
}
