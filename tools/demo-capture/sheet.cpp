// Renders the thumbnails of a contact sheet and writes it as a PNG.
#include "sheet.h"

#include "offline/capture.h"
#include "offline/contact_sheet.h"
#include "sync/musical_grid.h"
#include "sync/track_text.h"

#include <stb/stb_image_write.h>

#include <cerrno>
#include <cstring>
#include <vector>

std::string writeContactSheet(CaptureSession* session, const SheetRequest& request, volatile const int* interrupted) {
    MusicalGrid grid;
    if (!request.sourcePath.empty()) {
        std::string text;
        if (readTextFile(request.sourcePath.c_str(), &text) != 0) {
            return "cannot read " + request.sourcePath + ": " + std::strerror(errno);
        }
        grid = readMusicalGrid(text);
        if (!grid.known) return request.sourcePath + " declares no tempo to count bars with";
    }
    std::vector<double> rows = contactSheetRows(request.from, request.to, request.every);
    int width = session->window.width, height = session->window.height;
    ContactSheet sheet;
    if (!startContactSheet(&sheet, int(rows.size()), request.columns, width, height)) {
        return "the sheet would be too large: fewer thumbnails (--every), a smaller --size or fewer --columns";
    }
    std::vector<uint8_t> rgba;
    for (size_t i = 0; i < rows.size() && !*interrupted; ++i) {
        captureRow(session, rows[i], &rgba);
        placeThumbnail(&sheet, int(i), rgba.data(), thumbnailLabel(rows[i], barBeatText(grid, rows[i])));
    }
    if (*interrupted) return "interrupted";
    if (!stbi_write_png(request.out.c_str(), sheet.width, sheet.height, 4, sheet.rgba.data(), sheet.width * 4)) {
        return "cannot write " + request.out;
    }
    return "";
}
