// demo-cards: writes a test card at every image path of the catalogue, sized for where the show
// draws it, one colour per group, so the demo can run before its art exists.
//
//   demo-cards SHOW_FOLDER
#include "runtime/asset_catalogue.h"

#include <stb/stb_image_write.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

struct CardStyle {
    const char* pathPrefix;
    int width, height;
    unsigned char r, g, b;
};

const CardStyle styles[] = {
    {"data/avatars/evil", 260, 380, 200, 40, 60},
    {"data/avatars/", 300, 400, 60, 160, 220},
    {"data/good_lyrics/bg", 900, 110, 240, 240, 240},
    {"data/evil_lyrics/bg", 900, 110, 60, 20, 30},
    {"data/good_lyrics/", 860, 90, 30, 90, 200},
    {"data/evil_lyrics/", 860, 90, 230, 80, 80},
    {"data/refrain/polaroids/", 420, 380, 250, 250, 245},
    {"data/refrain/mirekand", 1000, 1000, 250, 200, 40},
    {"data/refrain/", 1280, 1000, 120, 200, 150},
    {"data/pictograms/", 200, 200, 40, 40, 40},
    {"data/features/", 600, 160, 250, 120, 20},
    {"data/credits/", 700, 300, 20, 20, 20},
    {"data/tunnel/", 256, 256, 90, 60, 160},
    {"data/zemlogo", 800, 160, 255, 255, 255},
};

const CardStyle& styleFor(const std::string& path) {
    for (const CardStyle& style : styles) {
        if (path.compare(0, strlen(style.pathPrefix), style.pathPrefix) == 0) return style;
    }
    return styles[0];
}

void makeFolders(const std::string& path) {
    for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1)) {
        mkdir(path.substr(0, at).c_str(), 0755);
    }
}

// A filled card with a darker frame and a diagonal, index-dependent stripe.
std::vector<unsigned char> card(const CardStyle& style, int index) {
    std::vector<unsigned char> pixels(size_t(style.width) * size_t(style.height) * 4);
    for (int y = 0; y < style.height; ++y) {
        for (int x = 0; x < style.width; ++x) {
            unsigned char* p = &pixels[(size_t(y) * size_t(style.width) + size_t(x)) * 4];
            bool frame = x < 6 || y < 6 || x >= style.width - 6 || y >= style.height - 6;
            bool stripe = ((x + y + index * 12) / 24) % 8 == 0;
            float shade = frame ? 0.5f : stripe ? 0.8f : 1.0f;
            p[0] = (unsigned char)(float(style.r) * shade);
            p[1] = (unsigned char)(float(style.g) * shade);
            p[2] = (unsigned char)(float(style.b) * shade);
            p[3] = 255;
        }
    }
    return pixels;
}

}  // namespace

constexpr int exitDone = 0;
constexpr int exitFailed = 1;  // a card could not be written
constexpr int exitUsage = 2;

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: demo-cards SHOW_FOLDER\n");
        return exitUsage;
    }
    AssetCatalogue catalogue;
    int index = 0;
    for (const CatalogueEntry& entry : catalogueEntries(&catalogue)) {
        std::string path = std::string(argv[1]) + "/" + entry.fileName;
        makeFolders(path);
        const CardStyle& style = styleFor(entry.fileName);
        std::vector<unsigned char> pixels = card(style, index++);
        if (!stbi_write_png(path.c_str(), style.width, style.height, 4, pixels.data(), style.width * 4)) {
            fprintf(stderr, "demo-cards: cannot write %s\n", path.c_str());
            return exitFailed;
        }
    }
    return exitDone;
}
