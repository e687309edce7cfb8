// demo-capture's command line: the options, parsed whole and checked for range.
#pragma once

#include "base/show_facts.h"

#include <cstdint>
#include <string>

// The latest row a capture may name: a day of show. Far past any show, and small enough that
// every frame number and sample position derived from it fits its integer.
constexpr double maxCaptureRow = rowsPerSecond * 3600.0 * 24.0;

struct CaptureOptions {
    std::string out;
    int width = 1920, height = 1080;
    int64_t fpsNum = 60, fpsDen = 1;
    double from = 0.0, to = rowLimit, row = 0.0;
    bool singleRow = false;
    bool sheet = false, sizeGiven = false;
    double every = 96.0;
    int columns = 6;
    std::string source;
    bool fullQuads = false;  // draw every sprite and full-output layer whole (the old path)
    bool help = false;
};

// The usage text printed by --help.
extern const char* const captureUsage;

// Parses the command line. Returns an empty string when it is good (options filled in, defaults
// applied), else what is wrong with it. --from, --to and --row may be BAR:BEAT, counted from 1 on
// the grid of the --source file (read here when one is), within the show.
std::string parseCaptureOptions(int argc, char** argv, CaptureOptions* options);

// A time: a row ("96", "12.5") or seconds with an s ("4s"), 0 .. maxCaptureRow.
bool parseCaptureTime(const char* text, double* rows);
// Frames a second: "60", "60000/1001" or an exact decimal such as "29.97" (= 2997/100).
bool parseFrameRate(const char* text, int64_t* num, int64_t* den);
// "WxH", each side 16 .. 8192.
bool parseFrameSize(const char* text, int* width, int* height);

bool isVideoName(const std::string& name);
