// Canvases for the show's images: making and writing Cairo image surfaces, and common shapes.
#include "art_canvas.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

Canvas makeCanvas(int width, int height, bool opaque) {
    Canvas canvas;
    canvas.surface = cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, width, height);
    canvas.cr = cairo_create(canvas.surface);
    canvas.width = width;
    canvas.height = height;
    cairo_set_antialias(canvas.cr, CAIRO_ANTIALIAS_GOOD);
    cairo_set_line_cap(canvas.cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(canvas.cr, CAIRO_LINE_JOIN_ROUND);
    return canvas;
}

void freeCanvas(Canvas& canvas) {
    cairo_destroy(canvas.cr);
    cairo_surface_destroy(canvas.surface);
    canvas.cr = nullptr;
    canvas.surface = nullptr;
}

Rgb mixRgb(Rgb a, Rgb b, double amount) {
    return Rgb{a.r + (b.r - a.r) * amount, a.g + (b.g - a.g) * amount, a.b + (b.b - a.b) * amount};
}

void setRgb(cairo_t* cr, Rgb colour, double alpha) { cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, alpha); }

void paintVerticalGradient(cairo_t* cr, double y0, double y1, const Rgb* colours, int count) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, y0, 0, y1);
    for (int i = 0; i < count; ++i) {
        double offset = count > 1 ? double(i) / double(count - 1) : 0.0;
        cairo_pattern_add_color_stop_rgb(gradient, offset, colours[i].r, colours[i].g, colours[i].b);
    }
    cairo_set_source(cr, gradient);
    cairo_paint(cr);
    cairo_pattern_destroy(gradient);
}

double randomUnit(SeededRandom& random) {
    random.state ^= random.state << 13;
    random.state ^= random.state >> 17;
    random.state ^= random.state << 5;
    return double(random.state) / 4294967296.0;
}

void roundedRectPath(cairo_t* cr, double x, double y, double w, double h, double radius) {
    double r = std::fmin(radius, std::fmin(w, h) * 0.5);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void circlePath(cairo_t* cr, double x, double y, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
    cairo_close_path(cr);
}

void ellipsePath(cairo_t* cr, double x, double y, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, rx, ry);
    circlePath(cr, 0, 0, 1);
    cairo_restore(cr);
}

void fillOutlined(cairo_t* cr, Rgb fill, double lineWidth) {
    setRgb(cr, fill);
    cairo_fill_preserve(cr);
    strokeInk(cr, lineWidth);
}

void strokeInk(cairo_t* cr, double lineWidth) {
    setRgb(cr, palette::ink);
    cairo_set_line_width(cr, lineWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void fadeCanvas(Canvas& canvas, double (*coverage)(double x, double y)) {
    cairo_surface_flush(canvas.surface);
    unsigned char* data = cairo_image_surface_get_data(canvas.surface);
    int stride = cairo_image_surface_get_stride(canvas.surface);
    for (int y = 0; y < canvas.height; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + size_t(y) * size_t(stride));
        for (int x = 0; x < canvas.width; ++x) {
            double keep = std::fmin(1.0, std::fmax(0.0, coverage(x + 0.5, y + 0.5)));
            if (keep >= 1.0) continue;
            // Premultiplied ARGB: every channel scales with the opacity.
            uint32_t pixel = row[x];
            uint32_t faded = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                uint32_t channel = (pixel >> shift) & 0xffu;
                faded |= uint32_t(std::lround(channel * keep)) << shift;
            }
            row[x] = faded;
        }
    }
    cairo_surface_mark_dirty(canvas.surface);
}

namespace {

struct Extent {
    int width;
    int height;
};

// The smallest size that still holds every pixel with any opacity (at least 1 x 1).
Extent usedExtent(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    int width = cairo_image_surface_get_width(surface);
    int height = cairo_image_surface_get_height(surface);
    Extent used{1, 1};
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < width; ++x) {
            if ((row[x] >> 24) != 0) {
                if (x + 1 > used.width) used.width = x + 1;
                used.height = y + 1;
            }
        }
    }
    return used;
}

}  // namespace

int writeCanvas(const Canvas& canvas, const std::string& outRoot, const std::string& relativePath, bool cropTrailing) {
    std::filesystem::path path = std::filesystem::path(outRoot) / relativePath;
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
        fprintf(stderr, "demo-art: cannot make folder %s: %s\n", path.parent_path().c_str(), error.message().c_str());
        return -1;
    }
    cairo_surface_t* written = canvas.surface;
    bool cropped = false;
    if (cropTrailing && cairo_image_surface_get_format(canvas.surface) == CAIRO_FORMAT_ARGB32) {
        Extent used = usedExtent(canvas.surface);
        if (used.width < canvas.width || used.height < canvas.height) {
            written = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, used.width, used.height);
            cairo_t* cr = cairo_create(written);
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            cairo_set_source_surface(cr, canvas.surface, 0, 0);
            cairo_paint(cr);
            cairo_destroy(cr);
            cropped = true;
        }
    }
    cairo_surface_flush(written);
    cairo_status_t status = cairo_surface_write_to_png(written, path.c_str());
    if (cropped) cairo_surface_destroy(written);
    if (status != CAIRO_STATUS_SUCCESS) {
        fprintf(stderr, "demo-art: cannot write %s: %s\n", path.c_str(), cairo_status_to_string(status));
        return -1;
    }
    return 0;
}
