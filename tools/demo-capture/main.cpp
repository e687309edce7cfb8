// demo-capture: renders the show offscreen, frame by frame at exact rows, to PNG frames or to a
// video with the song under it. Run in the show folder, like the demo.
#include "platform/video_encoder.h"
#include "runtime/capture.h"
#include "runtime/music.h"
#include "runtime/show_folder.h"
#include "sheet.h"

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char* usage =
    "usage: demo-capture [OPTIONS]\n"
    "Renders the show in the current folder offscreen, frame by frame at exact rows.\n"
    "\n"
    "  --out FILE|DIR   a video (.mp4, .mkv or .mov, with the song), a folder of PNG frames,\n"
    "                   or with --row a .png file (default: demo.mp4, or frame.png with --row)\n"
    "  --size WxH       output size (default 1920x1080)\n"
    "  --fps N[/D]      frames per second, e.g. 60, 30 or 60000/1001 (default 60)\n"
    "  --from T         start at T; T is a row (24 a second) or seconds with an s, e.g. 12.5s\n"
    "  --to T           end before T (default 6651, the end of the show)\n"
    "  --row T          one frame at T\n"
    "  --sheet          a contact sheet: one PNG of thumbnails from --from to --to, each\n"
    "                   labelled with its row, time and (with --source) bar:beat;\n"
    "                   --size is then the thumbnail's size (default 320x180)\n"
    "  --every T        a thumbnail every T (default 4s)\n"
    "  --columns N      thumbnails a row on the sheet (default 6)\n"
    "  --source FILE    the choreography source whose tempo names rows as BAR:BEAT\n"
    "  --help           this text\n"
    "Exit status: 0 done, 1 the show folder is incomplete or rendering failed, 2 bad arguments.\n";

struct Options {
    std::string out;
    int width = 1920, height = 1080;
    int64_t fpsNum = 60, fpsDen = 1;
    double from = 0.0, to = 6651.0, row = 0.0;
    bool singleRow = false;
    bool sheet = false, sizeGiven = false;
    double every = 96.0;
    int columns = 6;
    std::string source;
};

volatile sig_atomic_t interrupted = 0;

void onInterrupt(int) { interrupted = 1; }

int badArguments(const std::string& message) {
    fprintf(stderr, "demo-capture: %s\n(demo-capture --help shows the options)\n", message.c_str());
    return 2;
}

bool parseTime(const char* text, double* rows) {
    char* end = nullptr;
    double value = strtod(text, &end);
    if (end == text || !std::isfinite(value) || value < 0) return false;
    if (*end == 's' && end[1] == '\0') {
        *rows = value * 24.0;
        return true;
    }
    *rows = value;
    return *end == '\0';
}

bool parseSize(const char* text, int* width, int* height) {
    char extra = 0;
    return sscanf(text, "%dx%d%c", width, height, &extra) == 2 && *width >= 16 && *height >= 16 &&
           *width <= 8192 && *height <= 8192;
}

bool parseFps(const char* text, int64_t* num, int64_t* den) {
    long long n = 0, d = 1;
    char extra = 0;
    int got = sscanf(text, "%lld/%lld%c", &n, &d, &extra);
    if (got != 1 && got != 2) return false;
    *num = n;
    *den = d;
    return n > 0 && d > 0 && n <= 1000000 && d <= 1000000 && double(n) / double(d) <= 1000.0;
}

bool parseColumns(const char* text, int* columns) {
    char extra = 0;
    return sscanf(text, "%d%c", columns, &extra) == 1 && *columns >= 1 && *columns <= 64;
}

// Returns 0 when the options are good, else the exit status to end with.
int parseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            fputs(usage, stdout);
            exit(0);
        }
        if (option == "--sheet") {
            options->sheet = true;
            continue;
        }
        if (i + 1 >= argc) return badArguments(option == "--out" || option == "--size" || option == "--fps" ||
                                                       option == "--from" || option == "--to" || option == "--row" ||
                                                       option == "--every" || option == "--columns" ||
                                                       option == "--source"
                                                   ? option + " needs a value"
                                                   : "unknown option " + option);
        const char* value = argv[++i];
        bool good = true;
        if (option == "--out") options->out = value;
        else if (option == "--size") good = options->sizeGiven = parseSize(value, &options->width, &options->height);
        else if (option == "--fps") good = parseFps(value, &options->fpsNum, &options->fpsDen);
        else if (option == "--from") good = parseTime(value, &options->from);
        else if (option == "--to") good = parseTime(value, &options->to);
        else if (option == "--row") good = options->singleRow = parseTime(value, &options->row);
        else if (option == "--every") good = parseTime(value, &options->every) && options->every > 0;
        else if (option == "--columns") good = parseColumns(value, &options->columns);
        else if (option == "--source") options->source = value;
        else return badArguments("unknown option " + option);
        if (!good) return badArguments("bad value for " + option + ": " + value);
    }
    if (options->from >= options->to) return badArguments("--from must come before --to");
    if (options->sheet && options->singleRow) return badArguments("--sheet and --row do not go together");
    if (options->sheet && !options->sizeGiven) options->width = 320, options->height = 180;
    if (options->out.empty()) options->out = options->sheet ? "sheet.png" : options->singleRow ? "frame.png" : "demo.mp4";
    return 0;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool isVideoName(const std::string& name) {
    return endsWith(name, ".mp4") || endsWith(name, ".mkv") || endsWith(name, ".mov");
}

std::string fpsText(const Options& options) {
    return std::to_string(options.fpsNum) + "/" + std::to_string(options.fpsDen);
}

std::vector<std::string> rawInput(const Options& options) {
    return {"ffmpeg", "-hide_banner", "-loglevel", "error", "-y", "-f", "rawvideo", "-pix_fmt", "rgba",
            "-s", std::to_string(options.width) + "x" + std::to_string(options.height), "-framerate",
            fpsText(options), "-i", "pipe:0"};
}

}  // namespace

namespace {

std::vector<std::string> encoderArguments(const Options& options, const std::string& wav, int64_t firstFrame) {
    std::vector<std::string> arguments = rawInput(options);
    if (options.singleRow) {
        arguments.insert(arguments.end(), {"-frames:v", "1", "-update", "1", options.out});
    } else if (isVideoName(options.out)) {
        arguments.insert(arguments.end(), {"-i", wav, "-map", "0:v", "-map", "1:a", "-c:v", "libx264", "-preset",
                                           "veryfast", "-crf", "18", "-pix_fmt", "yuv420p"});
        if (endsWith(options.out, ".mkv")) {
            arguments.insert(arguments.end(), {"-c:a", "flac"});
        } else {
            arguments.insert(arguments.end(), {"-c:a", "aac", "-b:a", "192k"});
        }
        // A song shorter than the capture is padded with silence: the video is cut at its frames.
        arguments.insert(arguments.end(), {"-af", "apad", "-shortest", options.out});
    } else {
        arguments.insert(arguments.end(), {"-start_number", std::to_string(firstFrame), "-f", "image2",
                                           options.out + "/frame_%06d.png"});
    }
    return arguments;
}

double wallSeconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

void showProgress(int64_t done, int64_t total, double started) {
    double elapsed = wallSeconds() - started;
    double rate = elapsed > 0 ? double(done) / elapsed : 0.0;
    double left = rate > 0 ? double(total - done) / rate : 0.0;
    fprintf(stderr, "\r%lld/%lld frames, %.1f fps, %.0f s left   ", (long long)done, (long long)total, rate, left);
}

int fail(const std::string& message) {
    fprintf(stderr, "demo-capture: %s\n", message.c_str());
    return 1;
}

// Renders the frames and feeds them to the encoder; returns the number of frames it took, which
// is fewer than asked for when interrupted or when the encoder stopped taking them.
int64_t renderFrames(CaptureSession* session, VideoEncoder* encoder, int64_t first, int64_t end) {
    std::vector<uint8_t> rgba;
    bool progress = isatty(2);
    double started = wallSeconds();
    int64_t frame = first;
    for (; frame < end && !interrupted; ++frame) {
        captureFrame(session, frame, &rgba);
        if (!writeToEncoder(encoder, rgba.data(), rgba.size())) break;
        if (progress) showProgress(frame + 1 - first, end - first, started);
    }
    if (progress) fputc('\n', stderr);
    return frame - first;
}

}  // namespace

int main(int argc, char** argv) {
    signal(SIGPIPE, SIG_IGN);
    signal(SIGINT, onInterrupt);
    Options options;
    if (int status = parseOptions(argc, argv, &options)) return status;
    std::vector<std::string> missing = missingShowFiles();
    if (!missing.empty()) {
        return fail("the show folder is incomplete: " + missing[0] + " is missing" +
                    (missing.size() > 1 ? " (and " + std::to_string(missing.size() - 1) + " more)" : ""));
    }
    bool frames = !options.singleRow && !options.sheet && !isVideoName(options.out);
    if (frames && mkdir(options.out.c_str(), 0755) != 0 && errno != EEXIST) return fail("cannot make " + options.out);
    CaptureSession session;
    if (!openCaptureSession(&session, options.width, options.height, options.fpsNum, options.fpsDen)) {
        return fail("no offscreen OpenGL context could be made");
    }
    if (options.sheet) {
        std::string problem = writeContactSheet(
            &session, SheetRequest{options.from, options.to, options.every, options.columns, options.source, options.out},
            &interrupted);
        closeCaptureSession(&session);
        if (interrupted) return 130;
        return problem.empty() ? 0 : fail(problem);
    }
    int64_t first = firstFrameAtOrAfter(options.from, options.fpsNum, options.fpsDen);
    int64_t end = firstFrameAtOrAfter(options.to, options.fpsNum, options.fpsDen);
    char wavFolder[] = "/tmp/demo-capture-XXXXXX";
    std::string wav;
    if (isVideoName(options.out) && !options.singleRow) {
        if (!mkdtemp(wavFolder)) return fail("cannot make a temporary folder");
        wav = std::string(wavFolder) + "/song.wav";
        if (!writeSongSegment(captureFrameRow(first, options.fpsNum, options.fpsDen), wav.c_str())) {
            return fail("the song cannot be decoded: " + std::string(songSettings.fileName));
        }
    }
    VideoEncoder encoder;
    if (!startEncoder(&encoder, encoderArguments(options, wav, first))) return fail("cannot start ffmpeg");
    int64_t rendered = 0;
    if (options.singleRow) {
        std::vector<uint8_t> rgba;
        captureRow(&session, options.row, &rgba);
        rendered = writeToEncoder(&encoder, rgba.data(), rgba.size()) ? 1 : 0;
    } else {
        rendered = renderFrames(&session, &encoder, first, end);
    }
    int encoded = finishEncoder(&encoder);
    closeCaptureSession(&session);
    if (!wav.empty()) {
        unlink(wav.c_str());
        rmdir(wavFolder);
    }
    if (encoded != 0) return fail("ffmpeg failed while writing " + options.out);
    int64_t wanted = options.singleRow ? 1 : end - first;
    if (!interrupted && rendered < wanted) {
        return fail("ffmpeg stopped taking frames after " + std::to_string(rendered) + " of " + std::to_string(wanted));
    }
    if (interrupted) fprintf(stderr, "demo-capture: interrupted; %s holds the %lld frames rendered\n",
                             options.out.c_str(), (long long)rendered);
    return interrupted ? 130 : 0;
}
