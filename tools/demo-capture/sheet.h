// demo-capture --sheet: the whole show, or a range of it, as one PNG of labelled thumbnails.
#pragma once

#include <string>

struct CaptureSession;

struct SheetRequest {
    double from, to, every;  // rows
    int columns;
    std::string sourcePath;  // choreography source for bar:beat labels; empty for none
    std::string out;         // the PNG to write
};

// Renders the thumbnails through the session (opened at the thumbnail size) and writes the sheet.
// Returns an empty string on success, else what went wrong.
std::string writeContactSheet(CaptureSession* session, const SheetRequest& request, volatile const int* interrupted);
