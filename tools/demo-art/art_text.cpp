// Text on the show's images: font lookup (fontconfig), loading (FreeType) and drawing (Cairo).
#include "art_text.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <strings.h>

namespace {

FT_Library freeType = nullptr;

struct FontWanted {
    const char* family;
    const char* style;
    const char* package;
};

const cairo_user_data_key_t ftFaceKey{};

void releaseFtFace(void* face) { FT_Done_Face(static_cast<FT_Face>(face)); }

// Asks fontconfig for the file of family/style; only an exact family match is accepted, so a
// missing package is reported instead of silently drawing in another font.
cairo_font_face_t* loadFace(const FontWanted& wanted) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(wanted.family));
    FcPatternAddString(pattern, FC_STYLE, reinterpret_cast<const FcChar8*>(wanted.style));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    cairo_font_face_t* face = nullptr;
    FcChar8* family = nullptr;
    FcChar8* style = nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
        FcPatternGetString(match, FC_STYLE, 0, &style) == FcResultMatch &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        strcasecmp(reinterpret_cast<const char*>(family), wanted.family) == 0 &&
        strcasecmp(reinterpret_cast<const char*>(style), wanted.style) == 0) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FT_Face ftFace = nullptr;
        if (FT_New_Face(freeType, reinterpret_cast<const char*>(file), index, &ftFace) == 0) {
            face = cairo_ft_font_face_create_for_ft_face(ftFace, 0);
            cairo_font_face_set_user_data(face, &ftFaceKey, ftFace, releaseFtFace);
        }
    }
    if (match) FcPatternDestroy(match);
    if (!face) {
        fprintf(stderr, "demo-art: font \"%s %s\" not found; install the Debian package %s\n", wanted.family,
                wanted.style, wanted.package);
    }
    return face;
}

}  // namespace

int loadArtFonts(ArtFonts* fonts) {
    *fonts = ArtFonts{nullptr, nullptr, nullptr, nullptr};
    if (!FcInit()) {
        fprintf(stderr, "demo-art: fontconfig cannot start\n");
        return -1;
    }
    if (!freeType && FT_Init_FreeType(&freeType) != 0) {
        fprintf(stderr, "demo-art: FreeType cannot start\n");
        return -1;
    }
    fonts->rounded = loadFace({"Comic Neue", "Bold", "fonts-comic-neue"});
    fonts->hand = loadFace({"Dancing Script", "Bold", "fonts-dancingscript"});
    fonts->headline = loadFace({"League Spartan", "Black", "fonts-league-spartan"});
    fonts->plain = loadFace({"DejaVu Sans", "Bold", "fonts-dejavu-core"});
    if (fonts->rounded && fonts->hand && fonts->headline && fonts->plain) return 0;
    freeArtFonts(fonts);
    return -1;
}

void freeArtFonts(ArtFonts* fonts) {
    cairo_font_face_t* faces[] = {fonts->rounded, fonts->hand, fonts->headline, fonts->plain};
    for (cairo_font_face_t* face : faces) {
        if (face) cairo_font_face_destroy(face);
    }
    *fonts = ArtFonts{nullptr, nullptr, nullptr, nullptr};
}

void useFont(cairo_t* cr, cairo_font_face_t* face, double size) {
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

double textWidth(cairo_t* cr, const std::string& text) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return extents.x_advance;
}

void centredTextPath(cairo_t* cr, const std::string& text, double x, double y) {
    cairo_move_to(cr, x - textWidth(cr, text) * 0.5, y);
    cairo_text_path(cr, text.c_str());
}

double fittingSize(cairo_t* cr, cairo_font_face_t* face, const std::string& text, double width, double largest,
                   double smallest) {
    for (double size = largest; size >= smallest; size -= 1) {
        useFont(cr, face, size);
        if (textWidth(cr, text) <= width) return size;
    }
    return 0;
}

std::vector<std::string> splitInTwo(const std::string& text) {
    size_t best = std::string::npos;
    size_t middle = text.size() / 2;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != ' ') continue;
        size_t distance = i > middle ? i - middle : middle - i;
        size_t bestDistance = best == std::string::npos ? text.size() : best > middle ? best - middle : middle - best;
        if (distance < bestDistance) best = i;
    }
    if (best == std::string::npos) return {text};
    return {text.substr(0, best), text.substr(best + 1)};
}

void drawOutlinedText(cairo_t* cr, const std::string& text, double x, double baselineY, Rgb fill, double outline) {
    cairo_new_path(cr);
    centredTextPath(cr, text, x, baselineY);
    if (outline > 0) {
        setRgb(cr, palette::ink);
        cairo_set_line_width(cr, outline);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    setRgb(cr, fill);
    cairo_fill(cr);
}
