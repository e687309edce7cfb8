// Composing a contact sheet: thumbnails copied into a grid and labels rasterised from the bitmap
// font's quads, all on the CPU.
#include "offline/contact_sheet.h"

#include "base/show_facts.h"

#include <stb/stb_easy_font.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

std::vector<double> contactSheetRows(double from, double to, double step) {
    std::vector<double> rows;
    if (!(step > 0.0) || !std::isfinite(from) || !std::isfinite(to)) return rows;
    for (int64_t k = 0;; ++k) {
        double row = from + double(k) * step;
        if (row >= to || rows.size() >= size_t(sheetMaxSide)) break;
        rows.push_back(row);
    }
    return rows;
}

bool startContactSheet(ContactSheet* sheet, int count, int columns, int thumbWidth, int thumbHeight) {
    if (count <= 0 || columns <= 0 || thumbWidth <= 0 || thumbHeight <= 0) return false;
    int64_t rows = (int64_t(count) + columns - 1) / columns;
    int64_t width = int64_t(std::min(columns, count)) * thumbWidth;
    int64_t height = rows * (thumbHeight + sheetLabelHeight);
    if (width > sheetMaxSide || height > sheetMaxSide) return false;
    sheet->thumbWidth = thumbWidth;
    sheet->thumbHeight = thumbHeight;
    sheet->columns = columns;
    sheet->count = count;
    sheet->width = int(width);
    sheet->height = int(height);
    sheet->rgba.assign(size_t(width) * size_t(height) * 4, 40);
    for (size_t i = 3; i < sheet->rgba.size(); i += 4) sheet->rgba[i] = 255;
    return true;
}

namespace {

void fillRect(ContactSheet* sheet, int x0, int y0, int x1, int y1) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, sheet->width), y1 = std::min(y1, sheet->height);
    for (int y = y0; y < y1; ++y) {
        uint8_t* p = &sheet->rgba[(size_t(y) * size_t(sheet->width) + size_t(x0)) * 4];
        for (int x = x0; x < x1; ++x, p += 4) p[0] = p[1] = p[2] = 235;
    }
}

// The font gives axis-aligned quads (four vertices of x, y, z and a colour, 16 bytes each).
void drawText(ContactSheet* sheet, int left, int top, int right, const std::string& text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    std::vector<float> quads(4 * 4 * 600);
    int count = stb_easy_font_print(0, 0, buffer.data(), nullptr, quads.data(), int(quads.size() * sizeof(float)));
    for (int q = 0; q < count; ++q) {
        const float* v = &quads[q * 16];
        int x0 = left + int(v[0]), y0 = top + int(v[1]);
        int x1 = left + int(v[8]), y1 = top + int(v[9]);
        fillRect(sheet, x0, y0, std::min(x1, right), y1);
    }
}

}  // namespace

void placeThumbnail(ContactSheet* sheet, int index, const uint8_t* rgba, const std::string& label) {
    if (index < 0 || index >= sheet->count) return;
    int left = (index % sheet->columns) * sheet->thumbWidth;
    int top = (index / sheet->columns) * (sheet->thumbHeight + sheetLabelHeight);
    size_t rowBytes = size_t(sheet->thumbWidth) * 4;
    for (int y = 0; y < sheet->thumbHeight; ++y) {
        uint8_t* to = &sheet->rgba[(size_t(top + y) * size_t(sheet->width) + size_t(left)) * 4];
        std::memcpy(to, rgba + size_t(y) * rowBytes, rowBytes);
        for (int x = 0; x < sheet->thumbWidth; ++x) to[x * 4 + 3] = 255;
    }
    drawText(sheet, left + 4, top + sheet->thumbHeight + 4, left + sheet->thumbWidth - 2, label);
}

std::string thumbnailLabel(double row, const std::string& barBeat) {
    char text[96];
    std::snprintf(text, sizeof text, "row %.0f  %.1f s", row, row / rowsPerSecond);
    return barBeat.empty() ? std::string(text) : std::string(text) + "  " + barBeat;
}
