// Parsing demo-preview's options.
#include "arguments.h"

#include "base/show_facts.h"

#include <cstdio>
#include <cstring>

const char* const previewUsage =
    "usage: demo-preview [--from T] [--paused] [--source FILE] [--size WxH] [--trace]\n"
    "Plays the show in the current folder in a window, from any point, with its song.\n"
    "\n"
    "  --from T         start at T: a row (24 a second), seconds with an s (50s) or BAR:BEAT\n"
    "                   (26:1) on the source's grid (without --source: 120 beats a minute,\n"
    "                   four a bar, bar 1 at row 0)\n"
    "  --paused         start paused\n"
    "  --source FILE    the choreography source: watched and compiled again on every save\n"
    "                   (the show folder's track files, images and shaders are watched too);\n"
    "                   its tempo names rows as BAR:BEAT\n"
    "  --size WxH       the window's size, 16 to 8192 each (default 1280x720)\n"
    "  --trace          on standard error, how long each moving key and each saved source\n"
    "                   took to reach the screen\n"
    "  --help           this text\n"
    "\n"
    "Keys: Space pause / play; Left, Right a beat; Shift+Left, Shift+Right a bar; PageUp,\n"
    "PageDown eight bars; Home the start; L loop the four bars playing (again: stop);\n"
    "H heads-up display; Tab the tracks' values in it; F or F11 full screen; Escape quit.\n"
    "Exit status: 0 done, 1 the show folder is incomplete or no window could be opened,\n"
    "2 bad arguments.\n";

namespace {

bool parseSize(const char* text, int* width, int* height) {
    int w = 0, h = 0, used = 0;
    if (std::sscanf(text, "%5dx%5d%n", &w, &h, &used) != 2 || text[used] != '\0' || text[0] == '+' ||
        std::strchr(text, ' ') || std::strchr(text, '-')) {
        return false;
    }
    if (w < 16 || h < 16 || w > 8192 || h > 8192) return false;
    *width = w, *height = h;
    return true;
}

}  // namespace

std::string parsePreviewOptions(int argc, char** argv, PreviewOptions* options) {
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--help") {
            options->help = true;
        } else if (option == "--paused") {
            options->paused = true;
        } else if (option == "--trace") {
            options->trace = true;
        } else if (option == "--from" || option == "--source" || option == "--size") {
            if (i + 1 >= argc) return option + " needs a value";
            const char* value = argv[++i];
            if (option == "--from") options->from = value;
            if (option == "--source") options->source = value;
            if (option == "--size" && !parseSize(value, &options->width, &options->height)) {
                return "bad size '" + std::string(value) + "' (WxH, 16 to 8192 each)";
            }
        } else {
            return "unknown option '" + option + "'";
        }
    }
    return "";
}

std::string resolveStart(const PreviewOptions& options, MusicalGrid* grid, double* row) {
    *grid = MusicalGrid{};
    std::string problem;
    if (!options.source.empty() && !readSourceGrid(options.source, grid, &problem)) {
        return "cannot read " + options.source + ": " + problem;
    }
    if (!grid->known) *grid = MusicalGrid{true, 120.0, 4, 0.0};
    if (!parseShowTime(options.from.c_str(), *grid, rowLimit, row)) {
        return "bad time '" + options.from + "' (a row, seconds with an s, or BAR:BEAT within the show)";
    }
    return "";
}
