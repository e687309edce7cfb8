// Parsing demo-capture's options: every number is read whole (no trailing characters, no silent
// truncation) and checked for range before it is used.
#include "arguments.h"

#include "sync/musical_grid.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

const char* const captureUsage =
    "usage: demo-capture [OPTIONS]\n"
    "Renders the show in the current folder offscreen, frame by frame at exact rows.\n"
    "\n"
    "  --out FILE|DIR   a video (.mp4, .mkv or .mov, with the song), a folder of PNG frames,\n"
    "                   or with --row a .png file (default: demo.mp4, or frame.png with --row);\n"
    "                   always a local file or folder\n"
    "  --size WxH       output size, 16 to 8192 each (default 1920x1080)\n"
    "  --fps N[/D]      frames per second, e.g. 60, 30, 60000/1001 or 29.97 (default 60)\n"
    "  --from T         start at T; T is a row (24 a second), seconds with an s (12.5s) or,\n"
    "                   with --source, BAR:BEAT as the choreography writes it, counted from 1\n"
    "                   at its tempo (26:1, 26:2.5; within the show)\n"
    "  --to T           end before T (default 6651, the end of the show)\n"
    "  --row T          one frame at T\n"
    "  --sheet          a contact sheet: one PNG of thumbnails from --from to --to, each\n"
    "                   labelled with its row, time and (with --source) bar:beat;\n"
    "                   --size is then the thumbnail's size (default 320x180)\n"
    "  --every T        a thumbnail every T, rows or seconds (default 4s)\n"
    "  --columns N      thumbnails a row on the sheet, 1 to 64 (default 6)\n"
    "  --source FILE    the choreography source whose tempo counts the bars of BAR:BEAT times\n"
    "                   and labels (show/choreography.tracks for the show)\n"
    "  --full-quads     draw every sprite and full-screen layer whole, transparent parts and\n"
    "                   opacity 0 included (slower; the same picture, for comparisons)\n"
    "  --help           this text\n"
    "Times lie between 0 and a day of show. An image that is missing or cannot be decoded is\n"
    "named on standard error and left a hole in the pictures, which are still written. When\n"
    "done, one line on standard error says what was written where, and the warnings.\n"
    "Exit status: 0 done, 1 the show folder is incomplete (a hole included) or the capture\n"
    "could not be made whole, 2 bad arguments, 130 interrupted.\n";

namespace {

// Digits only, at most 9 of them (so the value fits an int64 however it is combined).
bool parseDigits(const char* begin, const char* end, int64_t* value) {
    if (begin == end || end - begin > 9) return false;
    int64_t v = 0;
    for (const char* c = begin; c < end; ++c) {
        if (*c < '0' || *c > '9') return false;
        v = v * 10 + (*c - '0');
    }
    *value = v;
    return true;
}

int64_t greatestCommonDivisor(int64_t a, int64_t b) {
    while (b != 0) {
        int64_t r = a % b;
        a = b;
        b = r;
    }
    return a;
}

bool parseWholeInRange(const char* text, int64_t low, int64_t high, int64_t* value) {
    return parseDigits(text, text + std::strlen(text), value) && *value >= low && *value <= high;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

bool parseCaptureTime(const char* text, double* rows) {
    return parseShowTime(text, MusicalGrid{}, maxCaptureRow, rows);
}

bool parseFrameRate(const char* text, int64_t* num, int64_t* den) {
    const char* end = text + std::strlen(text);
    const char* slash = std::strchr(text, '/');
    const char* point = std::strchr(text, '.');
    int64_t n = 0, d = 1;
    if (slash) {
        if (!parseDigits(text, slash, &n) || !parseDigits(slash + 1, end, &d)) return false;
    } else if (point) {
        int64_t whole = 0, fraction = 0;
        if (!parseDigits(text, point, &whole) || !parseDigits(point + 1, end, &fraction) || end - point - 1 > 6) {
            return false;
        }
        for (const char* c = point + 1; c < end; ++c) d *= 10;
        n = whole * d + fraction;
    } else if (!parseDigits(text, end, &n)) {
        return false;
    }
    if (n <= 0 || d <= 0) return false;
    int64_t common = greatestCommonDivisor(n, d);
    n /= common, d /= common;
    if (n > 1000000 || d > 1000000 || double(n) / double(d) > 1000.0) return false;
    *num = n, *den = d;
    return true;
}

bool parseFrameSize(const char* text, int* width, int* height) {
    const char* x = std::strchr(text, 'x');
    int64_t w = 0, h = 0;
    if (!x || !parseDigits(text, x, &w) || !parseDigits(x + 1, text + std::strlen(text), &h)) return false;
    if (w < 16 || h < 16 || w > 8192 || h > 8192) return false;
    *width = int(w), *height = int(h);
    return true;
}

bool isVideoName(const std::string& name) {
    return endsWith(name, ".mp4") || endsWith(name, ".mkv") || endsWith(name, ".mov");
}

namespace {

bool takesValue(const std::string& option) {
    for (const char* name :
         {"--out", "--size", "--fps", "--from", "--to", "--row", "--every", "--columns", "--source"}) {
        if (option == name) return true;
    }
    return false;
}

// A time option's value, read once the whole command line (and so --source) is known.
struct TimeWord {
    std::string option;
    std::string value;
};

// Reads one option's value; false when the value is bad. Times wait in `times`.
bool readValue(const std::string& option, const char* value, CaptureOptions* options, std::vector<TimeWord>* times) {
    int64_t columns = 0;
    if (option == "--out")
        options->out = value;
    else if (option == "--size")
        return options->sizeGiven = parseFrameSize(value, &options->width, &options->height);
    else if (option == "--fps")
        return parseFrameRate(value, &options->fpsNum, &options->fpsDen);
    else if (option == "--from" || option == "--to" || option == "--row")
        times->push_back(TimeWord{option, value});
    else if (option == "--every")
        return parseCaptureTime(value, &options->every) && options->every > 0;
    else if (option == "--columns")
        return parseWholeInRange(value, 1, 64, &columns) && (options->columns = int(columns));
    else if (option == "--source")
        options->source = value;
    return true;
}

// A time's row: a row or seconds, or BAR:BEAT on the grid of --source. "" or what is wrong.
std::string timeRow(const std::string& word, const std::string& source, const MusicalGrid& grid, double* row) {
    if (word.find(':') == std::string::npos) return parseCaptureTime(word.c_str(), row) ? "" : word.substr(0, 40);
    std::string problem = readBarBeatRow(word, grid, rowLimit, row);
    if (problem.empty() || grid.known) return problem;
    return problem + (source.empty() ? ": name the choreography source with --source FILE"
                                     : ": " + source + " declares no tempo");
}

// Reads the times given, BAR:BEAT ones on the grid of --source wherever it stands.
std::string readTimes(const std::vector<TimeWord>& times, CaptureOptions* options) {
    MusicalGrid grid;
    bool barBeat = false;
    for (const TimeWord& time : times) barBeat = barBeat || time.value.find(':') != std::string::npos;
    std::string problem;
    if (barBeat && !options->source.empty() && !readSourceGrid(options->source, &grid, &problem)) {
        return "cannot read " + options->source + ": " + problem;
    }
    for (const TimeWord& time : times) {
        double row = 0;
        problem = timeRow(time.value, options->source, grid, &row);
        if (!problem.empty()) return "bad value for " + time.option + ": " + problem;
        (time.option == "--from" ? options->from : time.option == "--to" ? options->to : options->row) = row;
        options->singleRow = options->singleRow || time.option == "--row";
    }
    return "";
}

}  // namespace

std::string parseCaptureOptions(int argc, char** argv, CaptureOptions* options) {
    std::vector<TimeWord> times;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            options->help = true;
            return "";
        }
        if (option == "--full-quads") {
            options->fullQuads = true;
            continue;
        }
        if (option == "--sheet") {
            options->sheet = true;
            continue;
        }
        if (!takesValue(option)) return "unknown option " + option;
        if (i + 1 >= argc) return option + " needs a value";
        const char* value = argv[++i];
        if (!readValue(option, value, options, &times))
            return "bad value for " + option + ": " + std::string(value).substr(0, 40);
    }
    std::string badTime = readTimes(times, options);
    if (!badTime.empty()) return badTime;
    if (options->from >= options->to) return "--from must come before --to";
    if (options->sheet && options->singleRow) return "--sheet and --row do not go together";
    if (options->sheet && !options->sizeGiven) options->width = 320, options->height = 180;
    if (options->out.empty())
        options->out = options->sheet ? "sheet.png" : options->singleRow ? "frame.png" : "demo.mp4";
    return "";
}
