// Measures the capture tool's speed on the whole show: frames every 2 s of the show (139
// frames), split into rendering (the frame function and the rasteriser finishing it), readback
// (glReadPixels and the row flip) and encoding (the same frames piped into ffmpeg's libx264,
// which runs beside the renderer), at 1280x720 and 1920x1080.
//   capture_bench [SHOW_FOLDER]   (default: the build's show folder)
// With --side-by-side, the same rows are rendered with every quad drawn whole (demo-capture
// --full-quads) and with only what can change a pixel, over the whole show, the refrains and the
// credits, and their frames a second compared.
//   capture_bench --side-by-side [SHOW_FOLDER]
#include "offline/capture.h"
#include "platform/playback_clock.h"
#include "platform/video_encoder.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

struct Split {
    double render = 0, readback = 0, total = 0;
    int frames = 0;
};

Split run(CaptureSession* session, VideoEncoder* encoder) {
    Split split;
    std::vector<uint8_t> bottomUp, topDown;
    double started = monotonicSeconds();
    for (double row = 0; row < 6651.0; row += 48.0, ++split.frames) {
        double t0 = monotonicSeconds();
        renderFrame(&session->window, FrameState{row, row / 24.0}, &session->show);
        glFinish();
        double t1 = monotonicSeconds();
        size_t stride = size_t(session->window.width) * 4, height = size_t(session->window.height);
        bottomUp.resize(stride * height);
        topDown.resize(stride * height);
        session->window.readPixels(bottomUp.data());
        for (size_t y = 0; y < height; ++y) memcpy(&topDown[y * stride], &bottomUp[(height - 1 - y) * stride], stride);
        double t2 = monotonicSeconds();
        split.render += t1 - t0;
        split.readback += t2 - t1;
        if (encoder) writeToEncoder(encoder, topDown.data(), topDown.size());
    }
    if (encoder) finishEncoder(encoder);
    split.total = monotonicSeconds() - started;
    return split;
}

struct Stretch {
    const char* name;
    double first, end, step;  // rows
};

// Frames a second rendering the stretch's rows, each finished before the next.
double framesPerSecond(CaptureSession* session, const Stretch& stretch, bool whole) {
    LayerDrawing how = whole ? LayerDrawing::EveryQuadWhole : LayerDrawing::SkipHidden;
    int frames = 0;
    double started = monotonicSeconds();
    for (double row = stretch.first; row < stretch.end; row += stretch.step, ++frames) {
        renderFrame(&session->window, FrameState{row, row / 24.0}, &session->show, how);
        glFinish();
    }
    return frames / (monotonicSeconds() - started);
}

int sideBySide() {
    // Refrains at bars 25, 49 and 105, credits from bar 133 (48 rows a bar).
    const Stretch stretches[] = {{"whole show", 0, 6651, 48},
                                 {"refrains", 1152, 1536, 8},
                                 {"refrains", 2304, 3072, 16},
                                 {"refrains", 4992, 5760, 16},
                                 {"credits", 6336, 6651, 8}};
    for (int size = 0; size < 2; ++size) {
        int width = size == 0 ? 1280 : 1920, height = size == 0 ? 720 : 1080;
        CaptureSession session;
        if (!openCaptureSession(&session, width, height, 60, 1)) return 1;
        for (const Stretch& stretch : stretches) {
            double whole = framesPerSecond(&session, stretch, true);
            double drawn = framesPerSecond(&session, stretch, false);
            printf(
                "%dx%d %-10s rows %4.0f-%4.0f: %5.2f fps every quad whole, %5.2f fps only what changes "
                "a pixel: %.2f times\n",
                width, height, stretch.name, stretch.first, stretch.end, whole, drawn, drawn / whole);
        }
        closeCaptureSession(&session);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bool sideBySideMode = argc > 1 && std::string(argv[1]) == "--side-by-side";
    if (sideBySideMode) --argc, ++argv;
    std::string folder = argc > 1 ? argv[1] : std::string(DEMO_SHOW_DIR);
    if (chdir(folder.c_str()) != 0) return 1;
    if (sideBySideMode) return sideBySide();
    for (int size = 0; size < 2; ++size) {
        int width = size == 0 ? 1280 : 1920, height = size == 0 ? 720 : 1080;
        CaptureSession session;
        if (!openCaptureSession(&session, width, height, 60, 1)) return 1;
        Split plain = run(&session, nullptr);
        VideoEncoder encoder;
        std::string sizeText = std::to_string(width) + "x" + std::to_string(height);
        if (!startEncoder(&encoder, {"ffmpeg",
                                     "-loglevel",
                                     "error",
                                     "-y",
                                     "-f",
                                     "rawvideo",
                                     "-pix_fmt",
                                     "rgba",
                                     "-s",
                                     sizeText,
                                     "-framerate",
                                     "60",
                                     "-i",
                                     "pipe:0",
                                     "-c:v",
                                     "libx264",
                                     "-preset",
                                     "veryfast",
                                     "-crf",
                                     "18",
                                     "-pix_fmt",
                                     "yuv420p",
                                     "/tmp/capture_bench.mp4"})) {
            return 1;
        }
        Split encoded = run(&session, &encoder);
        closeCaptureSession(&session);
        double perFrame = 1000.0 / plain.frames;
        printf(
            "%s, %d frames: render %.1f ms, readback %.1f ms a frame; %.2f fps without encoding, %.2f fps "
            "with encoding (readback + encoding add %.0f %% to rendering)\n",
            sizeText.c_str(), plain.frames, plain.render * perFrame, plain.readback * perFrame,
            plain.frames / plain.total, encoded.frames / encoded.total,
            (encoded.total - encoded.render) / encoded.render * 100.0);
    }
    unlink("/tmp/capture_bench.mp4");
    return 0;
}
