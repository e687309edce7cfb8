// Writes the seed corpora of the track fuzz targets with the library's own writer and printer:
// small real track files for the loader and text sources for the parser (scripts/fuzz makes the
// image and song seeds with ImageMagick and ffmpeg). Usage: make_seeds DIRECTORY
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "sync/track_file.h"
#include "sync/track_text.h"

namespace {

struct Seed {
    const char* name;
    std::vector<TrackKey> keys;
};

std::vector<Seed> seedTracks() {
    std::vector<TrackKey> many;
    for (int32_t i = 0; i < 600; ++i) many.push_back({i * 3, static_cast<float>(i % 17) * 0.5f, i % 5});
    return {
        {"empty", {}},
        {"one", {{12, 0.5f, 1}}},
        {"kinds", {{0, 0.0f, 0}, {10, 1.0f, 1}, {20, -2.0f, 2}, {30, 4.0f, 3}, {40, 8.0f, 0}}},
        {"odd", {{-5, 1.0f, 7}, {5, 2.0f, -1}, {5, 3.0f, 1}, {2, 0.25f, 2}}},
        {"limits", {{INT32_MIN, -1e30f, 1}, {0, 0.0f, 3}, {INT32_MAX, 1e30f, 2}}},
        {"many", many},
    };
}

int writeLoaderSeeds(const std::string& directory) {
    for (const Seed& seed : seedTracks()) {
        std::string path = directory + "/" + seed.name + ".track";
        if (writeTrackFile(path.c_str(), seed.keys.data(), static_cast<int32_t>(seed.keys.size())) != 0) return -1;
    }
    std::string cut = directory + "/cut.track";
    std::vector<TrackKey> kinds = seedTracks()[2].keys;
    if (writeTrackFile(cut.c_str(), kinds.data(), 5) != 0 || truncate(cut.c_str(), 30) != 0) return -1;
    return 0;
}

int writeText(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return -1;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written ? 0 : -1;
}

int writeTextSeeds(const std::string& directory) {
    for (const Seed& seed : seedTracks()) {
        std::string text = formatTrackSource(seed.name, seed.keys.data(), static_cast<int32_t>(seed.keys.size()));
        if (writeText(directory + "/" + seed.name + ".txt", text) != 0) return -1;
    }
    return writeText(directory + "/musical.txt",
                     "# musical time\ntempo 120\nbeats-per-bar 3\nstart-row 96\n"
                     "track tunnel:move\n1:1 0 smooth\n2:2.5 1.5 ramp\n9:3 bits:7fc00000 linear\n"
                     "tempo 133.5\ntrack fade:bg_white\n-3 1 7\n4:1.25 0\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIRECTORY\n");
        return 2;
    }
    std::string base = argv[1];
    mkdir(base.c_str(), 0755);
    std::string loader = base + "/track_loader_fuzz", text = base + "/track_text_fuzz";
    for (const std::string& directory : {loader, text}) mkdir(directory.c_str(), 0755);
    if (writeLoaderSeeds(loader) != 0 || writeTextSeeds(text) != 0) {
        std::perror("make_seeds");
        return 1;
    }
    return 0;
}
