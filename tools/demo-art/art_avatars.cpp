// The avatar images: Pip's ten faces (drawn at the right of the screen) and Count Glitch's
// five frames (at the left edge, tall enough that his cape reaches the bottom of the screen),
// the last one torn by his own glitching.
#include <string>

#include "art_canvas.h"
#include "art_characters.h"
#include "art_groups.h"

namespace {

// Redraws the picture in horizontal bands shifted sideways, with colour fringes, the look of
// a broken video signal. The band layout is fixed, so the result is the same every time; the
// lowest band stays in place, so his cape still runs whole to the bottom edge.
void tearIntoBands(Canvas& canvas) {
    cairo_surface_t* copy =
        cairo_surface_create_similar_image(canvas.surface, CAIRO_FORMAT_ARGB32, canvas.width, canvas.height);
    cairo_t* copyCr = cairo_create(copy);
    cairo_set_source_surface(copyCr, canvas.surface, 0, 0);
    cairo_paint(copyCr);
    cairo_destroy(copyCr);

    cairo_t* cr = canvas.cr;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_restore(cr);
    const double bands[][3] = {{0, 70, 0},     {70, 22, -14}, {92, 40, 0},   {132, 12, 16},
                               {144, 30, -6},  {174, 48, 0},  {222, 16, 12}, {238, 78, 0},
                               {316, 14, -10}, {330, 46, 0},  {376, 10, 8},  {386, 54, 0}};
    for (const auto& band : bands) {
        cairo_save(cr);
        cairo_rectangle(cr, 0, band[0], canvas.width, band[1]);
        cairo_clip(cr);
        if (band[2] != 0) {
            // Colour fringes on the shifted bands: teal to one side, coral to the other.
            cairo_set_source_rgba(cr, palette::teal.r, palette::teal.g, palette::teal.b, 0.6);
            cairo_mask_surface(cr, copy, band[2] - 5, 0);
            cairo_set_source_rgba(cr, palette::coral.r, palette::coral.g, palette::coral.b, 0.6);
            cairo_mask_surface(cr, copy, band[2] + 5, 0);
        }
        cairo_set_source_surface(cr, copy, band[2], 0);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    cairo_surface_destroy(copy);
}

// Textures repeat, so a sprite's top edge is blended with its bottom row where the picture is
// scaled: Glitch's body, opaque down to the screen's bottom, would draw a faint line over his
// horns. Its last row is left clear (off the screen's bottom but for his sway of 2 pixels).
void clearBottomRow(Canvas& canvas) {
    cairo_save(canvas.cr);
    cairo_set_operator(canvas.cr, CAIRO_OPERATOR_CLEAR);
    cairo_rectangle(canvas.cr, 0, glitchHeight - 1, glitchWidth, 1);
    cairo_fill(canvas.cr);
    cairo_restore(canvas.cr);
}

}  // namespace

int drawAvatarImages(const ArtJob& job) {
    for (int face = 0; face < pipFaceCount; ++face) {
        Canvas canvas = makeCanvas(pipWidth, pipHeight, false);
        drawPip(canvas.cr, pipFaces[face], job.fonts);
        int result = writeCanvas(canvas, job.outRoot, showImageFileName(ShowImagePart::goodFaces, face), false);
        freeCanvas(canvas);
        if (result != 0) return result;
    }
    for (int frame = 0; frame < glitchFrameCount; ++frame) {
        Canvas canvas = makeCanvas(glitchWidth, glitchHeight, false);
        drawGlitch(canvas.cr, frame, job.fonts);
        if (frame == glitchFrameCount - 1) tearIntoBands(canvas);
        clearBottomRow(canvas);
        int result = writeCanvas(canvas, job.outRoot, showImageFileName(ShowImagePart::evilFaces, frame), false);
        freeCanvas(canvas);
        if (result != 0) return result;
    }
    return 0;
}
