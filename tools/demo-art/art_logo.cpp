// The logo: a solid badge, an opaque rounded plate with an outline and a trim line, carrying
// the group's name as a logotype (a warm gradient in a thick outline over a row of coloured
// pixels) and a tagline, so that it reads over any picture or static. The demo centres it by
// its width and draws it 20 pixels below the top of the screen; the plate starts lower in the
// image, so that it stays inside the graphics-safe area (below y 36 on screen).
#include <cstdio>
#include <string>
#include <vector>

#include "art_canvas.h"
#include "art_groups.h"
#include "art_show_text.h"

namespace {

constexpr double nameSize = 118;
constexpr double taglineSize = 30;
constexpr double maxNameWidth = 1000;
constexpr double plateMinWidth = 880;
constexpr double platePadding = 56;  // from the plate's sides to the widest text
constexpr double plateLeft = 6;
constexpr double plateTop = 21;
constexpr double plateHeight = 208;
constexpr double shadowOffset = 6;
constexpr int logoHeight = 240;

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

// The plate: a soft drop shadow, a dark gradient panel in a wide ink outline, a lighter band
// across its top and a thin trim line inside its edge.
void drawPlate(cairo_t* cr, double width) {
    double radius = 40;
    roundedRectPath(cr, plateLeft + shadowOffset, plateTop + shadowOffset, width, plateHeight, radius);
    setRgb(cr, palette::ink, 0.35);
    cairo_fill(cr);
    cairo_pattern_t* panel = cairo_pattern_create_linear(0, plateTop, 0, plateTop + plateHeight);
    Rgb top = mixRgb(palette::purple, palette::night, 0.35);
    cairo_pattern_add_color_stop_rgb(panel, 0.0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(panel, 1.0, palette::night.r, palette::night.g, palette::night.b);
    roundedRectPath(cr, plateLeft, plateTop, width, plateHeight, radius);
    cairo_set_source(cr, panel);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(panel);
    strokeInk(cr, outlineWide);
    cairo_save(cr);
    roundedRectPath(cr, plateLeft, plateTop, width, plateHeight, radius);
    cairo_clip(cr);
    roundedRectPath(cr, plateLeft + 14, plateTop + 12, width - 28, 30, 15);
    setRgb(cr, palette::white, 0.08);
    cairo_fill(cr);
    cairo_restore(cr);
    roundedRectPath(cr, plateLeft + 11, plateTop + 11, width - 22, plateHeight - 22, radius - 11);
    setRgb(cr, palette::sun, 0.85);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
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
    double taglineWidth = measure(job.fonts.rounded, taglineSize, parts[1]);
    if (nameWidth > maxNameWidth || taglineWidth > maxNameWidth) {
        fprintf(stderr, "demo-art: %sthe logo's text is too long\n", whereOf(lines[0]).c_str());
        return -1;
    }
    double contentWidth = nameWidth > taglineWidth ? nameWidth : taglineWidth;
    double plateWidth = contentWidth + 2 * platePadding;
    if (plateWidth < plateMinWidth) plateWidth = plateMinWidth;
    int width = int(plateWidth + 2 * plateLeft + 0.5);
    Canvas canvas = makeCanvas(width, logoHeight, false);
    double centreX = plateLeft + plateWidth * 0.5;
    drawPlate(canvas.cr, plateWidth);
    drawPixelRow(canvas.cr, centreX - contentWidth * 0.5, contentWidth, 148);
    useFont(canvas.cr, job.fonts.headline, size);
    drawName(canvas.cr, parts[0], size, centreX, 144);
    useFont(canvas.cr, job.fonts.rounded, taglineSize);
    drawOutlinedText(canvas.cr, parts[1], centreX, 206, palette::cream, 6);
    int result = writeCanvas(canvas, job.outRoot, showImageFileName(ShowImagePart::logo, 0), false);
    freeCanvas(canvas);
    return result;
}
