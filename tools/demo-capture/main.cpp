// demo-capture: renders the show offscreen, frame by frame at exact rows, to PNG frames, a video
// with the song under it, one frame, or a contact sheet. Run in the show folder, like the demo.
#include "arguments.h"
#include "base/frame_grid.h"
#include "base/show_facts.h"
#include "base/tool_exit.h"
#include "base/show_images.h"
#include "offline/capture.h"
#include "offline/contact_sheet.h"
#include "platform/video_encoder.h"
#include "runtime/show_folder.h"
#include "sheet.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

volatile sig_atomic_t interrupted = 0;

void onSignal(int) { interrupted = 1; }

int fail(const std::string& message) {
    fprintf(stderr, "demo-capture: %s\n", message.c_str());
    return exitFailed;
}

// ffmpeg reads a name with a colon as a protocol and one with a dash as an option: "file:" makes
// any name a plain local file. An image sequence's name is a pattern, so its own % are doubled.
std::string localFile(const std::string& name) { return "file:" + name; }

std::string framePattern(const std::string& folder) {
    std::string escaped;
    for (char c : folder) escaped += c == '%' ? std::string("%%") : std::string(1, c);
    return localFile(escaped + "/frame_%06d.png");
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<std::string> encoderArguments(const CaptureOptions& options, const std::string& wav, int64_t firstFrame) {
    // -xerror: without it a failed write of the file's end (a full disk) still exits 0.
    std::vector<std::string> arguments = {
        "ffmpeg",     "-hide_banner",
        "-nostdin",   "-loglevel",
        "error",      "-y",
        "-f",         "rawvideo",
        "-pix_fmt",   "rgba",
        "-s",         std::to_string(options.width) + "x" + std::to_string(options.height),
        "-framerate", std::to_string(options.fpsNum) + "/" + std::to_string(options.fpsDen),
        "-i",         "pipe:0",
        "-xerror"};
    if (options.singleRow) {
        arguments.insert(arguments.end(), {"-frames:v", "1", "-update", "1", localFile(options.out)});
    } else if (isVideoName(options.out)) {
        arguments.insert(arguments.end(), {"-i", localFile(wav), "-map", "0:v", "-map", "1:a", "-c:v", "libx264",
                                           "-preset", "veryfast", "-crf", "18", "-pix_fmt", "yuv420p"});
        if (endsWith(options.out, ".mkv")) {
            arguments.insert(arguments.end(), {"-c:a", "flac"});
        } else {
            arguments.insert(arguments.end(), {"-c:a", "aac", "-b:a", "192k"});
        }
        // A song shorter than the capture is padded with silence: the video is cut at its frames.
        arguments.insert(arguments.end(), {"-af", "apad", "-shortest", localFile(options.out)});
    } else {
        arguments.insert(arguments.end(),
                         {"-start_number", std::to_string(firstFrame), "-f", "image2", framePattern(options.out)});
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

// The song for a video is written, for the capture's range only, to a private temporary folder
// under TMPDIR that is removed on every way out.
struct SongFile {
    std::string folder, path;
};

bool makeSongFile(SongFile* song) {
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/demo-capture-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) return false;
    song->folder = name.data();
    song->path = song->folder + "/song.wav";
    return true;
}

void removeSongFile(SongFile* song) {
    if (song->folder.empty()) return;
    unlink(song->path.c_str());
    rmdir(song->folder.c_str());
    song->folder.clear();
}

// Renders and encodes what the options ask for; the session is open and the song written.
int capture(const CaptureOptions& options, CaptureSession* session, const SongFile& song, int64_t first, int64_t end,
            int64_t* framesDone) {
    // A file is written under its partial name and moved to its name only when whole.
    bool toFile = options.singleRow || isVideoName(options.out);
    CaptureOptions encoding = options;
    if (toFile) encoding.out = partialFileName(options.out);
    VideoEncoder encoder;
    if (!startEncoder(&encoder, encoderArguments(encoding, song.path, first))) return fail("cannot start ffmpeg");
    int64_t rendered = 0;
    if (options.singleRow) {
        std::vector<uint8_t> rgba;
        captureRow(session, options.row, &rgba);
        rendered = writeToEncoder(&encoder, rgba.data(), rgba.size()) ? 1 : 0;
    } else {
        rendered = renderFrames(session, &encoder, first, end);
    }
    int encoded = finishEncoder(&encoder);
    *framesDone = rendered;
    int64_t wanted = options.singleRow ? 1 : end - first;
    bool whole = encoded == 0 && (rendered == wanted || interrupted);
    if (toFile && !whole) discardPartialFile(encoding.out);
    std::string left = toFile ? "; nothing was written to " + options.out
                              : "; " + options.out + " holds only the frames written before the failure";
    if (toFile && whole && !keepPartialFile(encoding.out, options.out)) {
        return fail("could not finish " + options.out + " (no room left on its disk?)" + left);
    }
    if (encoded != 0) return fail("ffmpeg failed while writing " + options.out + left);
    if (interrupted) {
        fprintf(stderr, "demo-capture: interrupted; %s holds the %lld frames rendered\n", options.out.c_str(),
                (long long)rendered);
        return exitInterrupted;
    }
    if (rendered < wanted) {
        return fail("ffmpeg stopped taking frames after " + std::to_string(rendered) + " of " + std::to_string(wanted) +
                    left);
    }
    return exitDone;
}

int run(const CaptureOptions& options, CaptureSession* session, SongFile* song, int64_t* framesDone) {
    if (options.sheet) {
        *framesDone = int64_t(contactSheetRows(options.from, options.to, options.every).size());
        std::string problem = writeContactSheet(
            session,
            SheetRequest{options.from, options.to, options.every, options.columns, options.source, options.out},
            &interrupted);
        if (interrupted) return exitInterrupted;
        return problem.empty() ? exitDone : fail(problem);
    }
    int64_t first = firstFrameAtOrAfter(options.from, options.fpsNum, options.fpsDen);
    int64_t end = firstFrameAtOrAfter(options.to, options.fpsNum, options.fpsDen);
    if (isVideoName(options.out) && !options.singleRow) {
        if (!makeSongFile(song)) return fail("cannot make a temporary folder for the song");
        double firstRow = frameGridRow(first, options.fpsNum, options.fpsDen);
        double endRow = frameGridRow(end, options.fpsNum, options.fpsDen);
        if (!writeSongSegment(firstRow, endRow, song->path.c_str())) {
            return fail("the song could not be written for the video (" + std::string(songFileName) +
                        " not decodable, or no room in the temporary folder)");
        }
    }
    return capture(options, session, *song, first, end, framesDone);
}

// The show folder's files that capture cannot do without: all but the images, whose holes it
// renders and names.
std::vector<std::string> missingFilesBesideImages() {
    std::vector<std::string> missing;
    for (const std::string& name : missingShowFiles()) {
        bool image = false;
        for (const ShowImage& each : showImages()) image = image || each.fileName == name;
        if (!image) missing.push_back(name);
    }
    return missing;
}

// The one line said when the capture is done: what was made, where, and how many warnings.
void printSummary(const CaptureOptions& options, int64_t frames, double seconds, const std::vector<ImageHole>& holes) {
    const char* what = options.sheet ? "thumbnails" : "frames";
    if (frames == 1) what = options.sheet ? "thumbnail" : "frame";
    std::string warnings = holes.empty()
                               ? "no warnings"
                               : std::to_string(holes.size()) + (holes.size() == 1 ? " warning: " : " warnings: ") +
                                     imageHolesSummary(holes);
    fprintf(stderr, "demo-capture: %lld %s of %dx%d in %.1f s, written to %s; %s\n", (long long)frames, what,
            options.width, options.height, seconds, options.out.c_str(), warnings.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    signal(SIGPIPE, SIG_IGN);
    for (int stop : {SIGINT, SIGTERM, SIGHUP}) signal(stop, onSignal);
    CaptureOptions options;
    std::string problem = parseCaptureOptions(argc, argv, &options);
    if (!problem.empty()) {
        fprintf(stderr, "demo-capture: %s\n%s\n", problem.c_str(), helpHintText("demo-capture").c_str());
        return exitUsage;
    }
    if (options.help) {
        fputs(captureUsage, stdout);
        return exitDone;
    }
    if (!isShowFolder()) return fail(notAShowFolderText());
    std::vector<std::string> missing = missingFilesBesideImages();
    if (!missing.empty()) {
        return fail(incompleteShowFolderText(missing));
    }
    bool frames = !options.singleRow && !options.sheet && !isVideoName(options.out);
    if (frames && mkdir(options.out.c_str(), 0755) != 0 && errno != EEXIST) return fail("cannot make " + options.out);
    CaptureSession session;
    session.drawing = options.fullQuads ? LayerDrawing::EveryQuadWhole : LayerDrawing::SkipHidden;
    if (!openCaptureSession(&session, options.width, options.height, options.fpsNum, options.fpsDen)) {
        return fail("no offscreen OpenGL context could be made");
    }
    double started = wallSeconds();
    std::vector<ImageHole> holes = captureImageHoles(&session);
    for (const ImageHole& hole : holes) fprintf(stderr, "demo-capture: %s\n", imageHoleText(hole).c_str());
    SongFile song;
    int64_t framesDone = 0;
    int status = run(options, &session, &song, &framesDone);
    removeSongFile(&song);
    closeCaptureSession(&session);
    if (status != exitDone) return status;
    printSummary(options, framesDone, wallSeconds() - started, holes);
    return holes.empty() ? exitDone : exitFailed;
}
