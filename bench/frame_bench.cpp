// Measures the CPU time one frame of each scene costs the drawing thread: track evaluation, scene
// logic and the GL calls (llvmpipe rasterises on its own threads; their time is not counted),
// at 1280x720 and 1920x1080, with the show folder's images.
//   frame_bench [SHOW_FOLDER]   (default: the build's show folder)
#include "render/demo_window.h"
#include "render/texture_store.h"
#include "runtime/frame.h"
#include "sync/sync.h"

#include <GL/glew.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace {

struct Constant {
    TrackKey key = {0, 0.0f, 0};
    SyncTrack track = {nullptr, &key, 1};
};

struct Scene {
    const char* name;
    std::vector<std::pair<SyncTrack * TrackSet::*, float>> values;
};

double threadSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

void setAll(std::array<Constant, trackCount>* tracks, const Scene& scene) {
    const SyncTrack* TrackSet::*unused = nullptr;
    (void)unused;
    for (int i = 0; i < trackCount; ++i) (*tracks)[size_t(i)].key.value = -5.0f;  // everything hidden
    (*tracks)[size_t(10)].key.value = 1.0f;                                       // pictogram scale
    for (const auto& value : scene.values) {
        for (int i = 0; i < trackCount; ++i) {
            if (trackSetFields[i] == value.first) (*tracks)[size_t(i)].key.value = value.second;
        }
    }
}

double microsecondsPerFrame(DemoWindow* window, Show* show) {
    std::vector<double> times;
    for (int frame = 0; frame < 60; ++frame) {
        double start = threadSeconds();
        renderFrame(window, FrameState{5000.0 + frame, frame / 60.0}, show);
        times.push_back(threadSeconds() - start);
        glFinish();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2] * 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : std::string(DEMO_SHOW_DIR);
    if (chdir(folder.c_str()) != 0) {
        perror(folder.c_str());
        return 1;
    }
    const std::vector<Scene> scenes = {
        {"clear and fades only", {}},
        {"tunnel, variation 1 (20 rings)",
         {{&TrackSet::tunnelTexture, 0}, {&TrackSet::tunnelVariation, 1}, {&TrackSet::tunnelMove, 3}}},
        {"both characters, bubbles, lyrics",
         {{&TrackSet::avatarGood, 3},
          {&TrackSet::lyricsGood, 5},
          {&TrackSet::avatarEvil, 2},
          {&TrackSet::lyricsEvil, 4}}},
        {"pictogram and features",
         {{&TrackSet::pictogramIndex, 7},
          {&TrackSet::pictogramX, 640},
          {&TrackSet::pictogramY, 360},
          {&TrackSet::features, 3}}},
        {"refrain with 19 photographs", {{&TrackSet::refrainPolaroidStart, 0}, {&TrackSet::refrainPolaroidEnd, 19}}},
        {"noise layer and logo", {{&TrackSet::fadeFgNoise, 1}}},
    };
    for (int size = 0; size < 2; ++size) {
        int width = size == 0 ? 1280 : 1920, height = size == 0 ? 720 : 1080;
        DemoWindow window;
        window.scaleX = float(width) / 1280.0f;
        window.scaleY = float(height) / 720.0f;
        if (!window.openOffscreen(width, height)) return 1;
        TextureStore store;
        currentTextures = &store;
        std::array<Constant, trackCount> tracks;
        Show show = {};
        for (int i = 0; i < trackCount; ++i) show.tracks.*trackSetFields[i] = &tracks[size_t(i)].track;
        fflush(stdout);
        int saved = dup(1);
        if (freopen("/dev/null", "w", stdout)) {}
        show.shader = ShaderProgram::build("data/shaders/default.vs", "data/shaders/noise.fs");
        fflush(stdout);
        dup2(saved, 1);
        glUseProgram(0);
        show.catalogue = loadAssetCatalogue(&store);
        glEnable(GL_BLEND);
        printf("%dx%d\n", width, height);
        for (const Scene& scene : scenes) {
            setAll(&tracks, scene);
            printf("  %-36s %7.1f us of CPU on the drawing thread (median of 60 frames)\n", scene.name,
                   microsecondsPerFrame(&window, &show));
        }
        currentTextures = nullptr;
        window.close();
    }
    return 0;
}
